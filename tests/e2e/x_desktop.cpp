#include "tests/e2e/x_desktop.h"

#include <sstream>
#include <stdexcept>

#include "platform/processes/top_level_windows.h"
#include "tests/e2e/started_program.h"
#include "tests/e2e/wait_until.h"
#include "tests/support/run_program.h"

// Last: Xlib defines names (None, Status) that other headers use.
#include <X11/Xlib.h>

namespace pelmorix::e2e {
namespace {

TProgramResult Xdotool(const std::vector<std::string>& arguments) {
  static const std::string program = ProgramInPath("xdotool");
  if (program.empty()) throw std::runtime_error("xdotool is not installed");
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return RunProgram(argv);
}

std::string XdotoolOrThrow(const std::vector<std::string>& arguments) {
  const TProgramResult result = Xdotool(arguments);
  if (result.ExitCode != 0) {
    throw std::runtime_error("xdotool " + arguments.front() + " failed: " + result.Err);
  }
  return result.Out;
}

// "X=10\nY=20\nWIDTH=300\n..." as xdotool's --shell output gives it.
int ShellValue(const std::string& output, const std::string& name) {
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    if (line.compare(0, name.size() + 1, name + "=") == 0)
      return std::stoi(line.substr(name.size() + 1));
  }
  throw std::runtime_error("xdotool gave no " + name + ": " + output);
}

}  // namespace

std::string TXWindow::Title() const {
  std::string title = XdotoolOrThrow({"getwindowname", std::to_string(id_)});
  if (!title.empty() && title.back() == '\n') title.pop_back();
  return title;
}

TRect TXWindow::Geometry() const {
  const std::string out = XdotoolOrThrow({"getwindowgeometry", "--shell", std::to_string(id_)});
  return {ShellValue(out, "X"), ShellValue(out, "Y"), ShellValue(out, "WIDTH"),
          ShellValue(out, "HEIGHT")};
}

void TXWindow::Click(int x, int y) const {
  XdotoolOrThrow({"mousemove", "--window", std::to_string(id_), std::to_string(x),
                  std::to_string(y), "click", "1"});
}

void TXWindow::PressKeys(const std::string& keys) const {
  std::vector<std::string> arguments{"windowfocus", std::to_string(id_), "key", "--clearmodifiers"};
  std::istringstream names(keys);
  for (std::string name; names >> name;) arguments.push_back(name);
  XdotoolOrThrow(arguments);
}

void TXWindow::Close() const {
  if (!PostMessageA(static_cast<HWND>(id_), WM_CLOSE, 0, 0)) {
    throw std::runtime_error("WM_CLOSE could not be sent to window " + std::to_string(id_));
  }
}

TColor TXWindow::Pixel(const test::TScreenshot& shot, int x, int y) const {
  const TRect area = Geometry();
  return shot.Pixel(area.Left + x, area.Top + y);
}

std::vector<TXWindow> VisibleWindowsOf(pid_t pid) {
  // No match is an exit code of 1 and no output.
  const TProgramResult result = Xdotool({"search", "--onlyvisible", "--pid", std::to_string(pid)});
  std::vector<TXWindow> windows;
  std::istringstream lines(result.Out);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty()) windows.emplace_back(std::stoul(line));
  }
  return windows;
}

std::optional<TXWindow> WaitForWindow(pid_t pid, double seconds, const std::string& title) {
  std::optional<TXWindow> found;
  WaitUntil(
      [&] {
        for (const TXWindow& window : VisibleWindowsOf(pid)) {
          try {
            if (title.empty() || window.Title() == title) {
              found = window;
              return true;
            }
          } catch (const std::runtime_error&) {
            // Gone between the search and the question: look again.
          }
        }
        return false;
      },
      seconds);
  return found;
}

bool WaitForNoWindow(pid_t pid, double seconds) {
  return WaitUntil([&] { return VisibleWindowsOf(pid).empty(); }, seconds);
}

TRect ScreenSize() {
  // "1280 1024"
  std::istringstream size(XdotoolOrThrow({"getdisplaygeometry"}));
  TRect screen;
  size >> screen.Width >> screen.Height;
  return screen;
}

void SaveScreenshotPng(const std::string& path) {
  const std::string import = ProgramInPath("import");
  if (import.empty()) throw std::runtime_error("ImageMagick's import is not installed");
  const TProgramResult result = RunProgram({import, "-window", "root", "png:" + path});
  if (result.ExitCode != 0) throw std::runtime_error("import failed: " + result.Err);
}

TCoveringWindow::TCoveringWindow(const TRect& area) : display_(XOpenDisplay(nullptr)) {
  if (!display_) throw std::runtime_error("no X display for the covering window");
  Display* display = static_cast<Display*>(display_);
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = 0xff00ff;
  window_ = XCreateWindow(display, DefaultRootWindow(display), area.Left, area.Top,
                          static_cast<unsigned>(area.Width), static_cast<unsigned>(area.Height), 0,
                          CopyFromParent, InputOutput, CopyFromParent,
                          CWOverrideRedirect | CWBackPixel, &attributes);
  XMapRaised(display, window_);
  XSync(display, False);
}

TCoveringWindow::~TCoveringWindow() {
  Display* display = static_cast<Display*>(display_);
  XDestroyWindow(display, window_);
  XSync(display, False);
  XCloseDisplay(display);
}

}  // namespace pelmorix::e2e
