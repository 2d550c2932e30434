#include <sys/mman.h>

#include "base/large_block.h"

namespace pelmorix {

void AdviseLargePages(void* start, size_t size) {
#ifdef MADV_HUGEPAGE
  // 2 MiB, the x86-64 and arm64 large page; a system with others ignores ranges it cannot use.
  constexpr size_t kLargePage = size_t{2} * 1024 * 1024;
  const TAlignedInterior interior = AlignedInterior(static_cast<char*>(start), size, kLargePage);
  if (interior.Begin == interior.End) return;
  // Only advice: a kernel without transparent large pages refuses it, and nothing changes.
  (void)madvise(interior.Begin, static_cast<size_t>(interior.End - interior.Begin), MADV_HUGEPAGE);
#else
  (void)start;
  (void)size;
#endif
}

}  // namespace pelmorix
