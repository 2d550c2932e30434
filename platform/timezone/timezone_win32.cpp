#include "platform/timezone/timezone.h"

// After the interface: the system header's macros of the same names (TIME_ZONE_ID_UNKNOWN,
// ...) carry the same values and must not rewrite its declarations.
#include <windows.h>

namespace pelmorix {

uint32_t GetTimeZoneInformation(TIME_ZONE_INFORMATION* info) {
  if (info == nullptr) return TIME_ZONE_ID_INVALID;
  ::TIME_ZONE_INFORMATION system{};
  const ::DWORD answer = ::GetTimeZoneInformation(&system);
  if (answer == TIME_ZONE_ID_INVALID) return answer;
  info->Bias = system.Bias;
  info->StandardBias = system.StandardBias;
  info->DaylightBias = system.DaylightBias;
  return answer;
}

}  // namespace pelmorix
