#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/gui/gui_support.h"

namespace pelmorix::e2e {

struct TRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};

// A top-level window on the test's X server, driven the way a person would: through xdotool,
// with real pointer and key events. Under Xvfb there is no window manager and so no frame: a
// window's area is its client area.
class TXWindow {
 public:
  explicit TXWindow(unsigned long id) : id_(id) {}

  unsigned long Id() const { return id_; }
  std::string Title() const;
  // The client area in screen coordinates.
  TRect Geometry() const;
  // A left click at client coordinates.
  void Click(int x, int y) const;
  // Gives the window the keyboard focus and presses the keys, in xdotool's names ("Return",
  // "alt+F4", "Tab Tab space").
  void PressKeys(const std::string& keys) const;
  // Asks it to close as another program does on Windows: WM_CLOSE, that is WM_DELETE_WINDOW.
  void Close() const;
  // A pixel of the screenshot at client coordinates.
  TColor Pixel(const test::TScreenshot& shot, int x, int y) const;

 private:
  unsigned long id_;
};

// A plain magenta window over an area of the screen while it exists, standing in for another
// program's window.
class TCoveringWindow {
 public:
  explicit TCoveringWindow(const TRect& area);
  ~TCoveringWindow();
  TCoveringWindow(const TCoveringWindow&) = delete;
  TCoveringWindow& operator=(const TCoveringWindow&) = delete;

 private:
  void* display_;
  unsigned long window_;
};

// The visible top-level windows of a process.
std::vector<TXWindow> VisibleWindowsOf(pid_t pid);
// Waits until the process shows a window (with this title, when one is given).
std::optional<TXWindow> WaitForWindow(pid_t pid, double seconds, const std::string& title = "");
// Waits until the process shows no window any more.
bool WaitForNoWindow(pid_t pid, double seconds);

TRect ScreenSize();
// The whole screen as a PNG file, for a person to look at.
void SaveScreenshotPng(const std::string& path);

}  // namespace pelmorix::e2e
