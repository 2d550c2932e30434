#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace pelmorix {

// Asks every 100 ms until done holds or the seconds are up; true when it held.
inline bool WaitUntil(const std::function<bool()>& done, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return done();
}

}  // namespace pelmorix
