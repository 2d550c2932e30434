#include "platform/timezone/timezone.h"

#include <ctime>

namespace pelmorix {
namespace {

// Offset east of UTC in seconds and the daylight flag at a given moment, or false when the
// C library cannot tell.
bool LocalOffsetAt(time_t moment, long& offset, bool& daylight) {
  tm local{};
  if (localtime_r(&moment, &local) == nullptr) return false;
  offset = local.tm_gmtoff;
  daylight = local.tm_isdst > 0;
  return true;
}

}  // namespace

uint32_t GetTimeZoneInformation(TIME_ZONE_INFORMATION* info) {
  if (info == nullptr) return TIME_ZONE_ID_INVALID;
  tzset();
  const time_t now = time(nullptr);
  long nowOffset = 0;
  bool nowDaylight = false;
  if (!LocalOffsetAt(now, nowOffset, nowDaylight)) return TIME_ZONE_ID_INVALID;

  // Look for both kinds of time through the year: one probe a fortnight finds every
  // daylight-saving period in use anywhere.
  bool haveStandard = !nowDaylight, haveDaylight = nowDaylight;
  long standardOffset = nowDaylight ? 0 : nowOffset;
  long daylightOffset = nowDaylight ? nowOffset : 0;
  for (int week = 0; week < 53; week += 2) {
    long offset = 0;
    bool daylight = false;
    if (!LocalOffsetAt(now + static_cast<time_t>(week) * 7 * 86400, offset, daylight)) continue;
    if (daylight && !haveDaylight) haveDaylight = true, daylightOffset = offset;
    if (!daylight && !haveStandard) haveStandard = true, standardOffset = offset;
  }
  if (!haveStandard) standardOffset = daylightOffset;

  info->Bias = static_cast<int32_t>(-standardOffset / 60);
  info->StandardBias = 0;
  info->DaylightBias =
      haveDaylight ? static_cast<int32_t>(-(daylightOffset - standardOffset) / 60) : 0;
  if (!haveDaylight) return TIME_ZONE_ID_UNKNOWN;
  return nowDaylight ? TIME_ZONE_ID_DAYLIGHT : TIME_ZONE_ID_STANDARD;
}

}  // namespace pelmorix
