#pragma once

#include <functional>
#include <initializer_list>
#include <string>

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
// Real keyboard input: the keys pressed in order, then released in reverse order.
void PressKeys(std::initializer_list<WORD> keys);

}  // namespace pelmorix::test
