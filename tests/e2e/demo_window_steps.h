#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>

#include "tests/e2e/x_desktop.h"

namespace pelmorix::e2e {

// The demo page's picture buttons: slot 3 "Spielen" at 40, 384 and slot 4 "Update
// Installieren" at 230, 384, each 122 x 34.
constexpr int kPlayX = 40 + 61, kUpdateX = 230 + 61, kButtonY = 384 + 17;

// A message box of the launcher: any of its windows other than the main one.
std::optional<TXWindow> WaitForBox(pid_t pid, const TXWindow& main, double seconds = 30);

// Waits until the button picture at x, y of the window is drawn: a grey face where the page
// shows its dark green.
bool WaitForGreyPicture(const TXWindow& window, int x, int y);

// Clicks until the click has taken effect. A click that lands while the page's refresh lays
// the buttons out again finds its button hidden for a moment and does nothing.
bool ClickUntil(const TXWindow& window, int x, int y, const std::function<bool()>& done);

}  // namespace pelmorix::e2e
