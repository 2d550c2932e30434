#include <gtest/gtest.h>

#include <cstdint>

#include "platform/timezone/timezone.h"
// After the interface: the system's macros must not rewrite its declarations.
#include <windows.h>

namespace pelmorix {
namespace {

int64_t MinutesOf(const SYSTEMTIME& time) {
  FILETIME file{};
  ::SystemTimeToFileTime(&time, &file);
  const uint64_t ticks = (uint64_t{file.dwHighDateTime} << 32) | file.dwLowDateTime;
  return static_cast<int64_t>(ticks / 600000000);  // 100 ns ticks
}

// The answer agrees with the system's own local and universal clocks.
TEST(TimeZoneWin32, TheBiasInForceIsTheGapBetweenLocalAndUniversalTime) {
  TIME_ZONE_INFORMATION info;
  const uint32_t answer = GetTimeZoneInformation(&info);
  ASSERT_NE(answer, TIME_ZONE_ID_INVALID);
  SYSTEMTIME universal{}, local{};
  ::GetSystemTime(&universal);
  ::GetLocalTime(&local);
  const int32_t inForce =
      info.Bias + (answer == TIME_ZONE_ID_DAYLIGHT ? info.DaylightBias : info.StandardBias);
  // Minutes may turn between the two readings.
  EXPECT_NEAR(MinutesOf(universal) - MinutesOf(local), inForce, 1);
  EXPECT_EQ(GetTimeZoneInformation(nullptr), TIME_ZONE_ID_INVALID);
}

}  // namespace
}  // namespace pelmorix
