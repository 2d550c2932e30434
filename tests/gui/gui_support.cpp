#include "tests/gui/gui_support.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace pelmorix::test {

namespace {

// Reads the next number of a PPM header, skipping blanks and comments.
int HeaderNumber(std::istream& in) {
  while (true) {
    const int c = in.peek();
    if (c == '#') {
      std::string comment;
      std::getline(in, comment);
    } else if (std::isspace(c)) {
      in.get();
    } else {
      break;
    }
  }
  int value = 0;
  in >> value;
  return value;
}

}  // namespace

TColor TScreenshot::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width || y >= Height) return clBlack;
  const size_t at = (static_cast<size_t>(y) * Width + x) * 3;
  return RGB(Rgb[at], Rgb[at + 1], Rgb[at + 2]);
}

bool TScreenshot::Contains(int left, int top, int width, int height, TColor color) const {
  for (int y = top; y < top + height; ++y)
    for (int x = left; x < left + width; ++x)
      if (Pixel(x, y) == color) return true;
  return false;
}

TScreenshot TakeScreenshot() {
  char path[] = "/tmp/pelmorix-screen-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) throw std::runtime_error("no temporary file");
  close(fd);
  const std::string command = std::string("import -window root -depth 8 ppm:") + path;
  if (std::system(command.c_str()) != 0) throw std::runtime_error("import failed");
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  in >> magic;
  TScreenshot shot;
  shot.Width = HeaderNumber(in);
  shot.Height = HeaderNumber(in);
  const int max = HeaderNumber(in);
  in.get();
  if (magic != "P6" || max != 255) throw std::runtime_error("unexpected screenshot format");
  shot.Rgb.resize(static_cast<size_t>(shot.Width) * shot.Height * 3);
  in.read(reinterpret_cast<char*>(shot.Rgb.data()), shot.Rgb.size());
  unlink(path);
  return shot;
}

bool Near(TColor a, TColor b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

bool WaitFor(const std::function<bool()>& done, const std::function<void()>& pump, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end) {
    pump();
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  pump();
  return done();
}

}  // namespace pelmorix::test
