#pragma once

#include "http/simple_buffer.h"

namespace pelmorix {

// The connection's input buffer. Bytes are appended at the end and taken from the front by
// moving ConsumedOffset. The remaining bytes move to the front only once 32768 or more have been
// taken and the room at the end runs short for what comes next, so neither many short lines nor
// a body taken in pieces that straddle the receives moves the buffer each time.
class TIdManagedBuffer : public TIdSimpleBuffer {
 public:
  static constexpr int64_t kPackThreshold = 32768;

  int64_t Size() const override { return size_ - consumedOffset_; }
  char* Memory() override { return data_ + consumedOffset_; }
  int64_t ConsumedOffset() const { return consumedOffset_; }

  void Discard(int64_t count) override;
  void Append(const void* bytes, int64_t count);
  // Empties the buffer. Memory of a usual size is kept for the next receive.
  void EmptyBuffer();
  void Compact();

  // Room for count more bytes at the end, for a receive call to fill; CommitTail then adds the
  // bytes it received.
  char* ReserveTail(int64_t count);
  void CommitTail(int64_t count) { size_ += count; }

 private:
  static constexpr int64_t kKeptCapacity = 256 * 1024;

  // Makes room for count more bytes at the end: by moving the rest to the front when enough has
  // been taken, else by growing, at least to twice the size up to the kept capacity, so that
  // the move stays rare.
  void MakeRoom(int64_t count);

  int64_t consumedOffset_ = 0;
};

}  // namespace pelmorix
