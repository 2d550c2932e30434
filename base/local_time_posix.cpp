#include "base/local_time.h"

namespace pelmorix {

std::tm LocalCalendarTime(std::time_t moment) {
  std::tm local{};
  localtime_r(&moment, &local);
  return local;
}

}  // namespace pelmorix
