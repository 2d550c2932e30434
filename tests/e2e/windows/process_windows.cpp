// First: the toolkit's names must be declared before the system's macros could rewrite them.
#include "tests/gui/win32/desktop_support.h"
// After it.
#include "tests/e2e/windows/process_windows.h"

#include <functional>
#include <stdexcept>

#include "tests/e2e/wait_until.h"

namespace pelmorix::e2e {
namespace {

::HWND WaitForWindow(::DWORD process, const std::function<bool(::HWND)>& wanted, double seconds) {
  ::HWND found = nullptr;
  WaitUntil(
      [&] {
        for (::HWND window : VisibleWindowsOf(process)) {
          if (wanted(window)) {
            found = window;
            return true;
          }
        }
        return false;
      },
      seconds);
  return found;
}

}  // namespace

std::vector<::HWND> VisibleWindowsOf(::DWORD process) {
  struct TSearch {
    ::DWORD Process;
    std::vector<::HWND> Found;
  } search{process, {}};
  ::EnumWindows(
      [](::HWND window, LPARAM data) -> BOOL {
        auto& search = *reinterpret_cast<TSearch*>(data);
        ::DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == search.Process && ::IsWindowVisible(window)) search.Found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

::HWND WaitForWindowOf(::DWORD process, const std::string& caption, double seconds) {
  return WaitForWindow(
      process, [&](::HWND window) { return Caption(window) == caption; }, seconds);
}

::HWND WaitForMessageBoxOf(::DWORD process, double seconds) {
  return WaitForWindow(
      process,
      [](::HWND window) {
        char name[16] = {};
        ::GetClassNameA(window, name, sizeof name);
        return lstrcmpA(name, "#32770") == 0;
      },
      seconds);
}

std::string Caption(::HWND window) {
  char text[256] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ChildTexts(::HWND window) {
  std::string texts;
  ::EnumChildWindows(
      window,
      [](::HWND child, LPARAM data) -> BOOL {
        *reinterpret_cast<std::string*>(data) += Caption(child) + "\n";
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&texts));
  return texts;
}

SIZE ClientSize(::HWND window) {
  RECT area{};
  ::GetClientRect(window, &area);
  return {area.right - area.left, area.bottom - area.top};
}

// Read from the screen, not from the window's own device context: under wine a window of
// another process has no surface in this one.
uint32_t ShownPixel(::HWND window, int x, int y) {
  POINT point{x, y};
  ::ClientToScreen(window, &point);
  HDC screen = ::GetDC(nullptr);
  const COLORREF pixel = ::GetPixel(screen, point.x, point.y);
  ::ReleaseDC(nullptr, screen);
  return pixel;
}

void ClickAt(::HWND window, int x, int y) {
  test::MoveMouseTo(window, x, y);
  test::PressMouse();
  test::ReleaseMouse();
}

void PressEnterIn(::HWND window) {
  // The key goes to the foreground window, which another process's window becomes only once
  // the window manager has taken the request.
  ::SetForegroundWindow(window);
  if (!WaitUntil([&] { return ::GetForegroundWindow() == window; }, 10)) {
    throw std::runtime_error("the window \"" + Caption(window) +
                             "\" did not come to the front within 10 s; the front window was \"" +
                             Caption(::GetForegroundWindow()) + "\"");
  }
  test::PressKeys({VK_RETURN});
}

}  // namespace pelmorix::e2e
