#pragma once

#include <functional>

#include "base/datetime.h"

namespace pelmorix {

// The local offset from UTC, asked for at the first need and kept from then on, so that the
// cookies of one reply take their times from one answer of the platform. A failed query
// raises and is asked again at the next need.
class TLocalOffsetOnce {
 public:
  explicit TLocalOffsetOnce(std::function<TDateTime()> query = nullptr);
  TDateTime Get();

 private:
  std::function<TDateTime()> query_;
  TDateTime offset_ = 0;
  bool known_ = false;
};

}  // namespace pelmorix
