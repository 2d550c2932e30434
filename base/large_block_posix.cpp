#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>

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

void TPrefault::Start(void* start, size_t size) {
  Stop();
#ifdef MADV_POPULATE_WRITE
  const TAlignedInterior interior =
      AlignedInterior(static_cast<char*>(start), size, static_cast<size_t>(sysconf(_SC_PAGESIZE)));
  if (interior.Begin == interior.End) return;
  thread_ = std::thread([this, interior] { Run(interior.Begin, interior.End); });
#else
  (void)start;
  (void)size;
#endif
}

void TPrefault::Run(char* begin, char* end) {
#ifdef MADV_POPULATE_WRITE
  // Pieces of a large page: small enough to stop soon, large enough to cost one call each.
  constexpr size_t kPiece = size_t{2} * 1024 * 1024;
  const auto size = static_cast<size_t>(end - begin);
  for (size_t done = 0; done < size && !stop_; done += kPiece) {
    // A kernel before 5.14 does not know the advice: then the fill clears its own pages.
    if (madvise(begin + done, std::min(kPiece, size - done), MADV_POPULATE_WRITE) != 0) return;
  }
#else
  (void)begin;
  (void)end;
#endif
}

}  // namespace pelmorix
