#include "base/retry.h"

namespace pelmorix {

bool RetryWithin(std::chrono::milliseconds limit, const std::function<bool()>& attempt,
                 const std::function<void()>& pause) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (attempt()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    pause();
  }
}

}  // namespace pelmorix
