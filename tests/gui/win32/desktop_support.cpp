#include "tests/gui/win32/desktop_support.h"

#include <chrono>
#include <iterator>
#include <vector>

namespace pelmorix::test {

namespace {

void SendMouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  ::SendInput(1, &input, sizeof input);
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

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = *key;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace pelmorix::test
