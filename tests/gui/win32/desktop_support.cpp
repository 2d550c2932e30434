#include "tests/gui/win32/desktop_support.h"

#include <chrono>

namespace pelmorix::test {

namespace {

void SendMouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  ::SendInput(1, &input, sizeof input);
}

BOOL CALLBACK ReadBoxChild(::HWND child, LPARAM data) {
  auto& box = *reinterpret_cast<TAnsweredBox*>(data);
  char name[32] = {};
  ::GetClassNameA(child, name, sizeof name);
  if (lstrcmpiA(name, "Static") != 0 || !::IsWindowVisible(child)) return TRUE;
  if ((::GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    if (::SendMessageA(child, STM_GETICON, 0, 0) != 0) box.HasIcon = true;
  } else {
    char text[512] = {};
    ::GetWindowTextA(child, text, sizeof text);
    box.Text += text;
  }
  return TRUE;
}

}  // namespace

bool PumpUntil(TApplication& app, const std::function<bool()>& done, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end) {
    app.ProcessMessages();
    if (done()) return true;
    ::Sleep(10);
  }
  app.ProcessMessages();
  return done();
}

void PumpFor(TApplication& app, double seconds) {
  PumpUntil(
      app, [] { return false; }, seconds);
}

TColor ClientPixel(::HWND window, int x, int y) {
  HDC dc = ::GetDC(window);
  const COLORREF pixel = ::GetPixel(dc, x, y);
  ::ReleaseDC(window, dc);
  return pixel;
}

void MoveMouseTo(::HWND window, int x, int y) {
  POINT point{x, y};
  ::ClientToScreen(window, &point);
  ::SetCursorPos(point.x, point.y);
}

void PressMouse() { SendMouse(MOUSEEVENTF_LEFTDOWN); }

void ReleaseMouse() { SendMouse(MOUSEEVENTF_LEFTUP); }

TBoxAnswerer::TBoxAnswerer(std::string caption, int answer)
    : thread_([this, caption = std::move(caption), answer] {
        const ULONGLONG end = ::GetTickCount64() + 20000;
        ::HWND box = nullptr;
        while (!box && ::GetTickCount64() < end) {
          box = ::FindWindowA("#32770", caption.c_str());
          if (!box || !::IsWindowVisible(box)) {
            box = nullptr;
            ::Sleep(20);
          }
        }
        if (!box) return;
        result_.Found = true;
        ::EnumChildWindows(box, ReadBoxChild, reinterpret_cast<LPARAM>(&result_));
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(box, answer)));
      }) {}

TBoxAnswerer::~TBoxAnswerer() {
  if (thread_.joinable()) thread_.join();
}

const TAnsweredBox& TBoxAnswerer::Result() {
  if (thread_.joinable()) thread_.join();
  return result_;
}

}  // namespace pelmorix::test
