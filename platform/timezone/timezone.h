#pragma once

#include <cstdint>

namespace pelmorix {

// The part of the platform's time-zone record that the date texts use. Biases are in minutes,
// with UTC = local time + bias.
struct TIME_ZONE_INFORMATION {
  int32_t Bias = 0;
  int32_t StandardBias = 0;
  int32_t DaylightBias = 0;
};

constexpr uint32_t TIME_ZONE_ID_UNKNOWN = 0;   // the zone has no daylight saving time
constexpr uint32_t TIME_ZONE_ID_STANDARD = 1;  // standard time is in force now
constexpr uint32_t TIME_ZONE_ID_DAYLIGHT = 2;  // daylight saving time is in force now
constexpr uint32_t TIME_ZONE_ID_INVALID = 0xFFFFFFFF;

// Fills the record from the C library's local-time rules for the current year and tells which
// of the zone's times is in force now. A null record gives TIME_ZONE_ID_INVALID.
uint32_t GetTimeZoneInformation(TIME_ZONE_INFORMATION* info);

}  // namespace pelmorix
