#include <gtest/gtest.h>

#include "http/internet_date.h"

namespace pelmorix {
namespace {

constexpr double kSecond = 1.0 / 86400.0;

TDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  TDateTime date = 0, time = 0;
  EXPECT_TRUE(TryEncodeDate(year, month, day, date));
  EXPECT_TRUE(TryEncodeTime(hour, minute, second, 0, time));
  return date + time;
}

TDateTime Parse(std::string text, std::string* rest = nullptr) {
  const TDateTime value = ParseInternetDate(text);
  if (rest != nullptr) *rest = text;
  return value;
}

TEST(InternetDate, ReadsTheThreeFormsAlike) {
  const TDateTime expected = At(1994, 11, 6, 8, 49, 37);
  std::string rest;
  EXPECT_DOUBLE_EQ(Parse("Sun, 06 Nov 1994 08:49:37 GMT", &rest), expected);
  EXPECT_EQ(rest, "GMT");
  EXPECT_DOUBLE_EQ(Parse("Sun,06 Nov 1994 08:49:37 GMT", &rest), expected);
  EXPECT_EQ(rest, "GMT");
  EXPECT_DOUBLE_EQ(Parse("  Sunday, 06-Nov-94 08:49:37 GMT ", &rest), expected);
  EXPECT_EQ(rest, "GMT");
  EXPECT_DOUBLE_EQ(Parse("Sun Nov  6 08:49:37 1994", &rest), expected);
  EXPECT_EQ(rest, "");
  EXPECT_DOUBLE_EQ(Parse("6 nov 1994 08:49:37 +0100", &rest), expected);
  EXPECT_EQ(rest, "+0100");
  EXPECT_DOUBLE_EQ(Parse("Sun, 06 Nov 1994"), At(1994, 11, 6));
  EXPECT_DOUBLE_EQ(Parse("Sun, 06 Nov 1994 08:49 GMT"), At(1994, 11, 6, 8, 49));
}

TEST(InternetDate, TwoDigitYearsPivotAtEighty) {
  EXPECT_DOUBLE_EQ(Parse("Thu, 01-Jan-79 00:00:00 GMT"), At(2079, 1, 1));
  EXPECT_DOUBLE_EQ(Parse("Tue, 01-Jan-80 00:00:00 GMT"), At(1980, 1, 1));
  EXPECT_DOUBLE_EQ(Parse("01 Jan 00 12:00:00 GMT"), At(2000, 1, 1, 12));
  EXPECT_DOUBLE_EQ(Parse("01 Jan 99 12:00:00 GMT"), At(1999, 1, 1, 12));
  // A year that happens to be 1900 keeps its time of day.
  EXPECT_DOUBLE_EQ(Parse("Tue, 06 Nov 1900 08:49:37 GMT"), At(1900, 11, 6, 8, 49, 37));
}

TEST(InternetDate, ImpossibleOrUnreadableTextsGiveZero) {
  EXPECT_EQ(Parse(""), 0);
  EXPECT_EQ(Parse("   "), 0);
  EXPECT_EQ(Parse("Sun, 06 Nov 1994 24:00:00 GMT"), 0);
  EXPECT_EQ(Parse("Sun, 32 Nov 1994 08:49:37 GMT"), 0);
  EXPECT_EQ(Parse("Sun, 29 Feb 1994 08:49:37 GMT"), 0);
  EXPECT_EQ(Parse("Sun, 06 Xyz 1994 08:49:37 GMT"), 0);
  EXPECT_EQ(Parse("garbage"), 0);
  // A day that is not a number counts as the first.
  EXPECT_DOUBLE_EQ(Parse("xx Nov 1994"), At(1994, 11, 1));
}

TEST(InternetDate, ZoneTextsGiveOffsets) {
  EXPECT_DOUBLE_EQ(ZoneOffsetOfText("+0100"), 1.0 / 24);
  EXPECT_DOUBLE_EQ(ZoneOffsetOfText(" -0530 (EST)"), -5.5 / 24);
  EXPECT_EQ(ZoneOffsetOfText("GMT"), 0);
  EXPECT_EQ(ZoneOffsetOfText("+01x0"), 0);
  EXPECT_EQ(ZoneOffsetOfText("+01"), 0);
  EXPECT_EQ(ZoneOffsetOfText(""), 0);
}

TEST(InternetDate, ConvertsToLocalTime) {
  const TDateTime local = 2.0 / 24;  // a zone two hours east of UTC
  EXPECT_NEAR(InternetDateToLocal("Sun, 06 Nov 1994 08:49:37 GMT", local),
              At(1994, 11, 6, 10, 49, 37), kSecond / 100);
  EXPECT_NEAR(InternetDateToLocal("Sun, 06 Nov 1994 08:49:37 +0100", local),
              At(1994, 11, 6, 9, 49, 37), kSecond / 100);
  EXPECT_NEAR(InternetDateToLocal("Sun, 06 Nov 1994 08:49:37 -0130", local),
              At(1994, 11, 6, 12, 19, 37), kSecond / 100);
  // An unreadable text is 0 moved by the offsets all the same.
  EXPECT_DOUBLE_EQ(InternetDateToLocal("garbage", local), local);
  // With the zone of this process, a text written here reads back as the same moment.
  const TDateTime moment = At(2024, 3, 31, 1, 30, 0);
  EXPECT_NEAR(InternetDateToLocal(DateTimeToZoneText(moment)), moment, kSecond / 100);
}

TEST(InternetDate, LocalOffsetComesFromTheTimeZoneAnswer) {
  TIME_ZONE_INFORMATION info;
  info.Bias = -60;  // UTC = local - 60 minutes
  info.StandardBias = 0;
  info.DaylightBias = -60;
  EXPECT_DOUBLE_EQ(LocalOffsetForTimeZone(TIME_ZONE_ID_STANDARD, info), 60 / kMinutesPerDay);
  EXPECT_DOUBLE_EQ(LocalOffsetForTimeZone(TIME_ZONE_ID_DAYLIGHT, info), 120 / kMinutesPerDay);
  // A zone without daylight saving time answers "unknown": the bias alone counts.
  EXPECT_DOUBLE_EQ(LocalOffsetForTimeZone(TIME_ZONE_ID_UNKNOWN, info), 60 / kMinutesPerDay);
  info.Bias = 300;
  EXPECT_DOUBLE_EQ(LocalOffsetForTimeZone(TIME_ZONE_ID_UNKNOWN, info), -300 / kMinutesPerDay);
  try {
    LocalOffsetForTimeZone(TIME_ZONE_ID_INVALID, info);
    FAIL() << "a failed query must raise";
  } catch (const EIdFailedToRetreiveTimeZoneInfo& e) {
    EXPECT_EQ(e.Message(), "Failed attempting to retrieve time zone information.");
    EXPECT_STREQ(e.ClassName(), "EIdFailedToRetreiveTimeZoneInfo");
  }
  // Whatever zone this machine runs in (UTC answers "unknown"), the query gives an offset.
  EXPECT_NO_THROW(LocalOffsetFromUTC());
}

TEST(InternetDate, FormatsGmtAndZoneTexts) {
  const TDateTime value = At(1994, 11, 6, 8, 9, 7);
  EXPECT_EQ(DateTimeToGMTText(value), "Sun, 06 Nov 1994 08:09:07 GMT");
  EXPECT_EQ(DateTimeToGMTText(At(2079, 1, 1)), "Sun, 01 Jan 2079 00:00:00 GMT");
  EXPECT_EQ(DateTimeToZoneText(value, 1.0 / 24), "Sun, 6 Nov 1994 08:09:07 +0100");
  EXPECT_EQ(DateTimeToZoneText(value, -5.5 / 24), "Sun, 6 Nov 1994 08:09:07 -0530");
  EXPECT_EQ(DateTimeToZoneText(value, 0), "Sun, 6 Nov 1994 08:09:07 +0000");
  EXPECT_EQ(DateTimeToZoneText(At(2025, 12, 31, 23, 59, 59), 0), "Wed, 31 Dec 2025 23:59:59 +0000");
}

}  // namespace
}  // namespace pelmorix
