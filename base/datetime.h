#pragma once

#include <cstdint>

namespace pelmorix {

// A date and time as days since 30 December 1899 00:00; the fraction is the time of day.
using TDateTime = double;

constexpr double kMinutesPerDay = 24.0 * 60.0;
constexpr double kSecondsPerDay = 24.0 * 60.0 * 60.0;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Fail (false) for a month outside 1..12, a day outside the month, a year outside 1..9999.
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
// Fail for hours above 23, minutes or seconds above 59, milliseconds above 999 or below 0.
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value);

void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime value);

// Conversions between the date-time value and seconds since 1970-01-01 00:00 UTC.
TDateTime UnixToDateTime(int64_t seconds);
int64_t DateTimeToUnix(TDateTime value);

// The current local date and time.
TDateTime Now();

}  // namespace pelmorix
