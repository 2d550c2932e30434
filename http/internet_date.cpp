#include "http/internet_date.h"

#include <cmath>
#include <cstdlib>

#include "base/convert.h"
#include "base/format.h"
#include "base/text.h"
#include "http/token.h"

namespace pelmorix {
namespace {

constexpr const char* kWeekdays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool NamesWeekday(const std::string& text) {
  if (text.size() < 3) return false;
  for (const char* day : kWeekdays) {
    if (SameText(std::string_view(text).substr(0, 3), day)) return true;
  }
  return false;
}

// 1 to 12 for a month name (its first three letters count), 0 for anything else.
int MonthOfName(const std::string& text) {
  if (text.size() < 3) return 0;
  for (int month = 0; month < 12; ++month) {
    if (SameText(std::string_view(text).substr(0, 3), kMonths[month])) return month + 1;
  }
  return 0;
}

void RemoveWeekday(std::string& text) {
  if (!NamesWeekday(text)) return;
  if (text.size() > 4 && text[3] == ',' && text[4] != ' ') {
    text = text.substr(0, 4) + " " + text.substr(4);
  }
  CutToken(text, " ");
  text = TrimLeft(text);
}

// "-" separates the date's parts when one occurs after the first character and before the
// first space (the 06-Nov-94 form).
std::string DateSeparator(const std::string& text) {
  const size_t dash = text.find('-');
  const size_t space = text.find(' ');
  if (dash != std::string::npos && dash >= 1 && space != std::string::npos && dash < space) {
    return "-";
  }
  return " ";
}

std::string CutPart(std::string& text, const std::string& separator) {
  std::string part = CutToken(text, separator);
  text = TrimLeft(text);
  return part;
}

int ReadYear(std::string& text) {
  std::string token = CutToken(text, " ");
  int32_t year = 0;
  if (!TryStrToInt(token, year)) {
    // The asctime form puts the time before the year.
    year = StrToIntDef(text, 1900);
    text = token;
  }
  if (year < 80) {
    year += 2000;
  } else if (year < 100) {
    year += 1900;
  }
  return year;
}

bool ReadTime(std::string& text, TDateTime& time) {
  time = 0;
  if (text.find(':') == std::string::npos) return true;
  std::string clock = CutToken(text, " ");
  const int hour = StrToIntDef(CutToken(clock, ":"), 0);
  const int minute = StrToIntDef(CutToken(clock, ":"), 0);
  const int second = StrToIntDef(clock, 0);
  return TryEncodeTime(hour, minute, second, 0, time);
}

}  // namespace

TDateTime ParseInternetDate(std::string& text) {
  text = Trim(text);
  if (text.empty()) return 0;
  RemoveWeekday(text);
  const std::string separator = DateSeparator(text);
  std::string first = text.substr(0, text.find(separator));
  int month = 0;
  int day = 0;
  if (MonthOfName(first) > 0) {
    month = MonthOfName(CutPart(text, separator));
    day = StrToIntDef(CutPart(text, separator), 1);
  } else {
    day = StrToIntDef(CutPart(text, separator), 1);
    month = MonthOfName(CutPart(text, separator));
  }
  const int year = ReadYear(text);
  TDateTime date = 0;
  if (!TryEncodeDate(year, month, day, date)) return 0;
  TDateTime time = 0;
  if (!ReadTime(text, time)) return 0;
  text = TrimLeft(text);
  return date + time;
}

TDateTime ZoneOffsetOfText(const std::string& zone) {
  const std::string head = Trim(zone).substr(0, 5);
  if (head.size() < 5 || (head[0] != '+' && head[0] != '-')) return 0;
  int32_t hours = 0;
  int32_t minutes = 0;
  if (!TryStrToInt(head.substr(1, 2), hours) || !TryStrToInt(head.substr(3, 2), minutes)) {
    return 0;
  }
  const TDateTime offset = hours / 24.0 + minutes / kMinutesPerDay;
  return head[0] == '-' ? -offset : offset;
}

TDateTime LocalOffsetForTimeZone(uint32_t answer, const TIME_ZONE_INFORMATION& info) {
  int32_t minutes = info.Bias;
  switch (answer) {
    case TIME_ZONE_ID_UNKNOWN:
      break;
    case TIME_ZONE_ID_STANDARD:
      minutes += info.StandardBias;
      break;
    case TIME_ZONE_ID_DAYLIGHT:
      minutes += info.DaylightBias;
      break;
    default:
      throw EIdFailedToRetreiveTimeZoneInfo("Failed attempting to retrieve time zone information.");
  }
  return -minutes / kMinutesPerDay;
}

TDateTime LocalOffsetFromUTC() {
  TIME_ZONE_INFORMATION info;
  const uint32_t answer = GetTimeZoneInformation(&info);
  return LocalOffsetForTimeZone(answer, info);
}

TDateTime InternetDateToLocal(const std::string& text) {
  return InternetDateToLocal(text, LocalOffsetFromUTC());
}

TDateTime InternetDateToUTC(const std::string& text) {
  std::string rest = text;
  const TDateTime value = ParseInternetDate(rest);
  return rest.size() > 4 ? value - ZoneOffsetOfText(rest) : value;
}

TDateTime InternetDateToLocal(const std::string& text, TDateTime localOffset) {
  return InternetDateToUTC(text) + localOffset;
}

namespace {

struct DateParts {
  int year, month, day, hour, minute, second, millisecond;
  const char* weekday;
};

DateParts SplitDate(TDateTime value) {
  DateParts parts{};
  DecodeDate(value, parts.year, parts.month, parts.day);
  DecodeTime(value, parts.hour, parts.minute, parts.second, parts.millisecond);
  parts.weekday = kWeekdays[DayOfWeek(value) - 1];
  return parts;
}

std::string ClockText(const DateParts& parts) {
  return Format("%.2d:%.2d:%.2d", parts.hour, parts.minute, parts.second);
}

std::string OffsetText(TDateTime offset) {
  const auto minutes = static_cast<int>(std::lround(std::fabs(offset) * kMinutesPerDay));
  std::string text = Format(" %.2d%.2d", minutes / 60, minutes % 60);
  text[0] = offset >= 0 ? '+' : '-';
  return text;
}

}  // namespace

std::string DateTimeToGMTText(TDateTime value) {
  const DateParts parts = SplitDate(value);
  return Format("%s, %.2d %s %.4d %s %s", parts.weekday, parts.day, kMonths[parts.month - 1],
                parts.year, ClockText(parts).c_str(), "GMT");
}

std::string DateTimeToZoneText(TDateTime value) {
  return DateTimeToZoneText(value, LocalOffsetFromUTC());
}

std::string DateTimeToZoneText(TDateTime value, TDateTime localOffset) {
  const DateParts parts = SplitDate(value);
  return Format("%s, %d %s %d %s %s", parts.weekday, parts.day, kMonths[parts.month - 1],
                parts.year, ClockText(parts).c_str(), OffsetText(localOffset).c_str());
}

}  // namespace pelmorix
