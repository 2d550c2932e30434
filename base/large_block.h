#pragma once

#include <atomic>
#include <cstddef>
#include <thread>

namespace pelmorix {

// The part of a block of memory that large pages could back: from the first boundary of
// alignment at or after the start to the last one at or before the end. Empty (begin == end)
// when the block holds no whole aligned piece.
struct TAlignedInterior {
  char* Begin;
  char* End;
};
TAlignedInterior AlignedInterior(char* start, size_t size, size_t alignment);

// Asks the system to back the whole large pages inside a block of memory that is about to be
// filled with large pages, so that filling it takes a page fault per large page instead of one
// per small page. Advice only: the content and the meaning of the memory stay the same, and
// where the system has no such advice nothing happens.
void AdviseLargePages(void* start, size_t size);

// Has the system back a block of fresh memory in a thread of its own, from the start on, while
// its owner fills it from the start: the new pages are cleared on another processor instead of
// in the page faults of the fill. Nothing in the block is read or written, so the fill needs no
// coordination with it. Where the system cannot back memory ahead of use, nothing happens.
class TPrefault {
 public:
  TPrefault() = default;
  ~TPrefault() { Stop(); }
  TPrefault(const TPrefault&) = delete;
  TPrefault& operator=(const TPrefault&) = delete;

  // Stops a run on another block first.
  void Start(void* start, size_t size);
  // Returns once the thread has ended; it ends early between pieces. Call before the block is
  // freed or handed over.
  void Stop();

 private:
  // Backs the block piece by piece until it is done or asked to stop.
  void Run(char* begin, char* end);

  std::thread thread_;
  std::atomic<bool> stop_{false};
};

}  // namespace pelmorix
