#include "base/datetime.h"

#include <gtest/gtest.h>

namespace pelmorix {
namespace {

TEST(DateTime, CountsDaysFromTheEndOf1899) {
  TDateTime value = -1;
  ASSERT_TRUE(TryEncodeDate(1899, 12, 30, value));
  EXPECT_EQ(value, 0.0);
  ASSERT_TRUE(TryEncodeDate(1970, 1, 1, value));
  EXPECT_EQ(value, 25569.0);
  ASSERT_TRUE(TryEncodeDate(1994, 11, 6, value));
  EXPECT_EQ(value, 34644.0);
  EXPECT_EQ(DayOfWeek(value), 1);  // a Sunday
  ASSERT_TRUE(TryEncodeDate(2000, 2, 29, value));
  int y, m, d;
  DecodeDate(value, y, m, d);
  EXPECT_EQ((std::tuple{y, m, d}), (std::tuple{2000, 2, 29}));
}

TEST(DateTime, RejectsImpossibleDatesAndTimes) {
  TDateTime value = 0;
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29, value));
  EXPECT_FALSE(TryEncodeDate(2024, 1, 32, value));
  EXPECT_FALSE(TryEncodeDate(2024, 0, 1, value));
  EXPECT_FALSE(TryEncodeDate(2024, 13, 1, value));
  EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, value));
  EXPECT_FALSE(TryEncodeTime(0, 60, 0, 0, value));
  EXPECT_FALSE(TryEncodeTime(0, 0, 60, 0, value));
}

TEST(DateTime, DecodesTimeWithoutDriftAtTheEndOfADay) {
  TDateTime date = 0, time = 0;
  ASSERT_TRUE(TryEncodeDate(2026, 12, 31, date));
  ASSERT_TRUE(TryEncodeTime(23, 59, 59, 999, time));
  int h, mi, s, ms, y, mo, d;
  DecodeTime(date + time, h, mi, s, ms);
  DecodeDate(date + time, y, mo, d);
  EXPECT_EQ((std::tuple{y, mo, d, h, mi, s, ms}), (std::tuple{2026, 12, 31, 23, 59, 59, 999}));
  EXPECT_EQ(DateTimeToUnix(UnixToDateTime(1'700'000'000)), 1'700'000'000);
}

}  // namespace
}  // namespace pelmorix
