#include "base/large_block.h"

#include <cstdint>

namespace pelmorix {

TAlignedInterior AlignedInterior(char* start, size_t size, size_t alignment) {
  const auto first = reinterpret_cast<uintptr_t>(start);
  const uintptr_t begin = (first + alignment - 1) / alignment * alignment;
  const uintptr_t end = (first + size) / alignment * alignment;
  if (begin >= end) return {start, start};
  return {start + (begin - first), start + (end - first)};
}

void TPrefault::Stop() {
  if (!thread_.joinable()) return;
  stop_ = true;
  thread_.join();
  stop_ = false;
}

}  // namespace pelmorix
