#pragma once

#include <functional>
#include <string>
#include <thread>

#include "platform/ui/application.h"
#include "platform/ui/graphics.h"
#include "platform/ui/win32/win32_api.h"

namespace pelmorix::test {

// Lets the application's pending messages run until `done` holds or the time is up; gives
// whether `done` held.
bool PumpUntil(TApplication& app, const std::function<bool()>& done, double seconds);
// Lets pending messages run for a while (painting, timers).
void PumpFor(TApplication& app, double seconds);

// The colour of a pixel of the window's client area as it was painted.
TColor ClientPixel(::HWND window, int x, int y);

// Real mouse input at a point of the window's client area.
void MoveMouseTo(::HWND window, int x, int y);
void PressMouse();
void ReleaseMouse();

// A message box as another thread sees it: found by its caption, read and answered.
struct TAnsweredBox {
  bool Found = false;
  std::string Text;
  bool HasIcon = false;
};

// Waits on a thread of its own for the box with the caption and presses its button `answer`
// (IDOK, IDYES, IDNO); Result() waits for that thread.
class TBoxAnswerer {
 public:
  TBoxAnswerer(std::string caption, int answer);
  ~TBoxAnswerer();
  const TAnsweredBox& Result();

 private:
  std::thread thread_;
  TAnsweredBox result_;
};

}  // namespace pelmorix::test
