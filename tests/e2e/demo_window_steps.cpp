#include "tests/e2e/demo_window_steps.h"

#include "tests/e2e/wait_until.h"

namespace pelmorix::e2e {

std::optional<TXWindow> WaitForBox(pid_t pid, const TXWindow& main, double seconds) {
  std::optional<TXWindow> box;
  WaitUntil(
      [&] {
        for (const TXWindow& w : VisibleWindowsOf(pid)) {
          if (w.Id() != main.Id()) box = w;
        }
        return box.has_value();
      },
      seconds);
  return box;
}

bool WaitForGreyPicture(const TXWindow& window, int x, int y) {
  return WaitUntil(
      [&] {
        const TColor pixel = window.Pixel(test::TakeScreenshot(), x, y);
        return GetRValue(pixel) > 150 && GetGValue(pixel) > 150 && GetBValue(pixel) > 150;
      },
      30);
}

bool ClickUntil(const TXWindow& window, int x, int y, const std::function<bool()>& done) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    window.Click(x, y);
    if (WaitUntil(done, 3)) return true;
  }
  return false;
}

}  // namespace pelmorix::e2e
