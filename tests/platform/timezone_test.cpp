#include "platform/timezone/timezone.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

namespace pelmorix {
namespace {

// Runs the query under another TZ rule and puts the old one back.
uint32_t QueryIn(const char* zone, TIME_ZONE_INFORMATION& info) {
  const char* old = getenv("TZ");
  const std::string saved = old ? old : "";
  setenv("TZ", zone, 1);
  const uint32_t answer = GetTimeZoneInformation(&info);
  if (old) {
    setenv("TZ", saved.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
  return answer;
}

TEST(TimeZone, ZoneWithoutDaylightSavingAnswersUnknown) {
  TIME_ZONE_INFORMATION info;
  EXPECT_EQ(QueryIn("UTC0", info), TIME_ZONE_ID_UNKNOWN);
  EXPECT_EQ(info.Bias, 0);
  EXPECT_EQ(QueryIn("XST-5:30", info), TIME_ZONE_ID_UNKNOWN);
  EXPECT_EQ(info.Bias, -330);
  EXPECT_EQ(info.DaylightBias, 0);
}

TEST(TimeZone, ZoneWithDaylightSavingGivesBothBiases) {
  TIME_ZONE_INFORMATION info;
  // Central European rules: UTC+1, summer UTC+2, from the last Sunday of March to October.
  const uint32_t answer = QueryIn("CET-1CEST,M3.5.0,M10.5.0/3", info);
  EXPECT_TRUE(answer == TIME_ZONE_ID_STANDARD || answer == TIME_ZONE_ID_DAYLIGHT);
  EXPECT_EQ(info.Bias, -60);
  EXPECT_EQ(info.StandardBias, 0);
  EXPECT_EQ(info.DaylightBias, -60);
  // Southern rules: standard time in the northern summer.
  QueryIn("AEST-10AEDT,M10.1.0,M4.1.0/3", info);
  EXPECT_EQ(info.Bias, -600);
  EXPECT_EQ(info.DaylightBias, -60);
  EXPECT_EQ(GetTimeZoneInformation(nullptr), TIME_ZONE_ID_INVALID);
}

}  // namespace
}  // namespace pelmorix
