#pragma once

#include <ctime>

namespace pelmorix {

// The calendar fields of a moment in the local time zone, from the C library's thread-safe
// call.
std::tm LocalCalendarTime(std::time_t moment);

}  // namespace pelmorix
