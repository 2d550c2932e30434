#include <gtest/gtest.h>

#include <cstdint>

#include "base/large_block.h"

namespace pelmorix {
namespace {

// The advised range must lie inside the block: rounding outwards would advise memory that
// belongs to someone else.
TEST(AlignedInterior, StaysInsideTheBlockOnWholeAlignedPieces) {
  char* const base = reinterpret_cast<char*>(uintptr_t{1} << 30);
  constexpr size_t kAlign = 2 * 1024 * 1024;

  TAlignedInterior interior = AlignedInterior(base + 100, 3 * kAlign, kAlign);
  EXPECT_EQ(interior.Begin, base + kAlign);
  EXPECT_EQ(interior.End, base + 3 * kAlign);

  interior = AlignedInterior(base, 2 * kAlign, kAlign);
  EXPECT_EQ(interior.Begin, base);
  EXPECT_EQ(interior.End, base + 2 * kAlign);

  // A block across one boundary, and one within a single piece, hold no whole piece.
  interior = AlignedInterior(base + kAlign - 10, kAlign, kAlign);
  EXPECT_EQ(interior.Begin, interior.End);
  interior = AlignedInterior(base + 10, kAlign - 20, kAlign);
  EXPECT_EQ(interior.Begin, interior.End);
}

}  // namespace
}  // namespace pelmorix
