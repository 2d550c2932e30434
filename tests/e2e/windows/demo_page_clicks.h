#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <functional>
#include <string>

namespace pelmorix::e2e {

// The demo page's picture buttons: slot 3 "Spielen" at 40, 384 and slot 4 "Update
// Installieren" at 230, 384, each 122 x 34.
constexpr int kPlayX = 40 + 61, kUpdateX = 230 + 61, kButtonY = 384 + 17;

// Waits until the colour shown at a point of the window's client area is the wanted one.
bool WaitForPixel(::HWND window, int x, int y,
                  const std::function<bool(int red, int green, int blue)>& wanted);
// Clicks until the click has taken effect. A click that lands while the page's refresh lays
// the buttons out again finds its button hidden for a moment and does nothing.
bool ClickUntil(::HWND window, int x, int y, const std::function<bool()>& done);
// What a click at the point would reach, and what the launcher shows: for a click that did
// nothing.
std::string DescribeClickTarget(::HWND window, int x, int y, ::DWORD launcher);

}  // namespace pelmorix::e2e
