#pragma once

#include <cstddef>

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

}  // namespace pelmorix
