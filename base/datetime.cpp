#include "base/datetime.h"

#include <cmath>
#include <ctime>

#include "base/local_time.h"

namespace pelmorix {
namespace {

constexpr int64_t kMsPerDay = 86400000;

// Days since 0000-03-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

// Splits a value into whole days and milliseconds of the day, rounded to the millisecond.
void SplitValue(TDateTime value, int64_t& days, int64_t& msOfDay) {
  const auto total = static_cast<int64_t>(std::llround(value * static_cast<double>(kMsPerDay)));
  days = total / kMsPerDay;
  msOfDay = total % kMsPerDay;
  if (msOfDay < 0) {
    msOfDay += kMsPerDay;
    --days;
  }
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return (month == 2 && IsLeapYear(year)) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& value) {
  if (year < 1 || year > 9999 || month < 1 || month > 12) return false;
  if (day < 1 || day > DaysInMonth(year, month)) return false;
  value = static_cast<double>(DaysFromCivil(year, month, day) - DaysFromCivil(1899, 12, 30));
  return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999) {
    return false;
  }
  const int64_t ms = ((hour * 60 + minute) * 60 + second) * 1000LL + millisecond;
  value = static_cast<double>(ms) / static_cast<double>(kMsPerDay);
  return true;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  int64_t days, ms;
  SplitValue(value, days, ms);
  CivilFromDays(days + DaysFromCivil(1899, 12, 30), year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond) {
  int64_t days, ms;
  SplitValue(value, days, ms);
  millisecond = static_cast<int>(ms % 1000);
  second = static_cast<int>(ms / 1000 % 60);
  minute = static_cast<int>(ms / 60000 % 60);
  hour = static_cast<int>(ms / 3600000);
}

int DayOfWeek(TDateTime value) {
  int64_t days, ms;
  SplitValue(value, days, ms);
  // Day 0 (1899-12-30) was a Saturday.
  const int64_t index = ((days + 6) % 7 + 7) % 7;  // 0 = Sunday
  return static_cast<int>(index) + 1;
}

TDateTime UnixToDateTime(int64_t seconds) {
  return 25569.0 + static_cast<double>(seconds) / kSecondsPerDay;
}

int64_t DateTimeToUnix(TDateTime value) {
  return static_cast<int64_t>(std::llround((value - 25569.0) * kSecondsPerDay));
}

TDateTime Now() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const std::tm local = LocalCalendarTime(now.tv_sec);
  TDateTime date = 0, time = 0;
  TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, date);
  TryEncodeTime(local.tm_hour, local.tm_min, local.tm_sec < 60 ? local.tm_sec : 59,
                static_cast<int>(now.tv_nsec / 1000000), time);
  return date + time;
}

}  // namespace pelmorix
