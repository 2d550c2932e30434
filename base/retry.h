#pragma once

#include <chrono>
#include <functional>

namespace pelmorix {

// Calls attempt until it answers true or the limit has passed since the first call; between
// two calls pause runs and decides how long the wait is (a sleep, or letting the window's
// messages run). True when an attempt succeeded.
bool RetryWithin(std::chrono::milliseconds limit, const std::function<bool()>& attempt,
                 const std::function<void()>& pause);

// How long a file that another program holds is tried again before it counts as not
// replaceable: a virus scanner or an indexer looking at a new file lets go within this.
constexpr std::chrono::milliseconds kHeldFileRetryLimit{5000};

}  // namespace pelmorix
