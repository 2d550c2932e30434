#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/graphics.h"
#include "tests/support/child_process.h"

namespace pelmorix::test {

// The whole screen as the X server shows it (taken with ImageMagick's import).
struct TScreenshot {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Rgb;

  TColor Pixel(int x, int y) const;
  // Whether any pixel of the rectangle has exactly this colour.
  bool Contains(int left, int top, int width, int height, TColor color) const;
};
TScreenshot TakeScreenshot();

// Colours within a small tolerance per channel.
bool Near(TColor a, TColor b, int tolerance = 2);

// Runs `pump` until `done` holds or the time is up; gives whether `done` held.
bool WaitFor(const std::function<bool()>& done, const std::function<void()>& pump, double seconds);

// The child process of the shared test support, by the name these tests use.
using pelmorix::TChildProcess;

}  // namespace pelmorix::test
