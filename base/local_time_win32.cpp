#include "base/local_time.h"

namespace pelmorix {

std::tm LocalCalendarTime(std::time_t moment) {
  std::tm local{};
  localtime_s(&local, &moment);
  return local;
}

}  // namespace pelmorix
