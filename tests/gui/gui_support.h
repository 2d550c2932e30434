#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/graphics.h"

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

// A child process started with the given arguments, its standard output readable line by line;
// stopped (SIGTERM, then waited for) when destroyed.
class TChildProcess {
 public:
  explicit TChildProcess(const std::vector<std::string>& argv);
  ~TChildProcess();
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  pid_t Pid() const { return pid_; }
  std::string ReadLine();
  // Waits up to `seconds` for the process to end; gives its exit status, or -1 if it did not.
  int WaitForExit(double seconds);

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  bool exited_ = false;
};

}  // namespace pelmorix::test
