#include <gtest/gtest.h>

#include "base/int64_convert.h"

namespace pelmorix {
namespace {

TEST(StrToInt64, ReadsTheWholeSignedRangeAndNothingElse) {
  int64_t value = 0;
  EXPECT_TRUE(TryStrToInt64("9223372036854775807", value));
  EXPECT_EQ(value, INT64_MAX);
  EXPECT_TRUE(TryStrToInt64("-9223372036854775808", value));
  EXPECT_EQ(value, INT64_MIN);
  EXPECT_TRUE(TryStrToInt64("+3000000000", value));
  EXPECT_EQ(value, 3000000000);
  EXPECT_FALSE(TryStrToInt64("9223372036854775808", value));
  EXPECT_FALSE(TryStrToInt64("-9223372036854775809", value));
  for (const char* bad : {"", "-", " 1", "1 ", "1x", "0x10"}) {
    EXPECT_FALSE(TryStrToInt64(bad, value)) << bad;
  }
}

}  // namespace
}  // namespace pelmorix
