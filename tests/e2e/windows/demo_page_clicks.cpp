#include "tests/e2e/windows/demo_page_clicks.h"

#include "tests/e2e/wait_until.h"
#include "tests/e2e/windows/process_windows.h"

namespace pelmorix::e2e {

bool WaitForPixel(::HWND window, int x, int y, const std::function<bool(int, int, int)>& wanted) {
  return WaitUntil(
      [&] {
        const uint32_t pixel = ShownPixel(window, x, y);
        return wanted(pixel & 0xFF, (pixel >> 8) & 0xFF, (pixel >> 16) & 0xFF);
      },
      30);
}

bool ClickUntil(::HWND window, int x, int y, const std::function<bool()>& done) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    ClickAt(window, x, y);
    if (WaitUntil(done, 3)) return true;
  }
  return false;
}

std::string DescribeClickTarget(::HWND window, int x, int y, ::DWORD launcher) {
  POINT point{x, y};
  ::ClientToScreen(window, &point);
  const HWND target = ::WindowFromPoint(point);
  char name[64] = {};
  ::GetClassNameA(target, name, sizeof name);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(target, &owner);
  std::string text = "the point's window: " + std::string(name) + " '" + Caption(target) + "' of " +
                     (owner == launcher ? "the launcher" : "process " + std::to_string(owner)) +
                     "; foreground: '" + Caption(::GetForegroundWindow()) +
                     "'; the launcher's windows:";
  for (HWND shown : VisibleWindowsOf(launcher)) text += " '" + Caption(shown) + "'";
  return text;
}

}  // namespace pelmorix::e2e
