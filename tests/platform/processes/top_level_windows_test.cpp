#include "platform/processes/top_level_windows.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

// Xlib's macros (None, Bool, ...) would clash with the test framework, so it comes last.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace pelmorix {
namespace {

BOOL Collect(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return 1;
}

BOOL CollectFirstOnly(HWND window, LPARAM param) {
  Collect(window, param);
  return 0;
}

std::vector<HWND> AllWindows() {
  std::vector<HWND> windows;
  EXPECT_TRUE(EnumWindows(Collect, reinterpret_cast<LPARAM>(&windows)));
  return windows;
}

size_t PositionOf(const std::vector<HWND>& windows, HWND window) {
  return static_cast<size_t>(std::find(windows.begin(), windows.end(), window) - windows.begin());
}

// A private X server on a display number of its own choosing, as DISPLAY for the test.
class TopLevelWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    server_ = fork();
    if (server_ == 0) {
      close(report[0]);
      const int quiet = open("/dev/null", O_WRONLY);
      dup2(quiet, 1);
      dup2(quiet, 2);
      const std::string fd = std::to_string(report[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0",
             "640x480x24", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(report[1]);
    std::string number;
    pollfd wait{report[0], POLLIN, 0};
    char c = 0;
    while (poll(&wait, 1, 30000) > 0 && read(report[0], &c, 1) == 1 && c != '\n') number += c;
    close(report[0]);
    ASSERT_FALSE(number.empty()) << "Xvfb did not start";
    const char* old = getenv("DISPLAY");
    oldDisplay_ = old != nullptr ? old : "";
    setenv("DISPLAY", (":" + number).c_str(), 1);
    display_ = XOpenDisplay(nullptr);
    ASSERT_NE(display_, nullptr);
    root_ = DefaultRootWindow(display_);
  }

  void TearDown() override {
    if (display_ != nullptr) XCloseDisplay(display_);
    if (server_ > 0) {
      kill(server_, SIGTERM);
      waitpid(server_, nullptr, 0);
    }
    if (oldDisplay_.empty()) {
      unsetenv("DISPLAY");
    } else {
      setenv("DISPLAY", oldDisplay_.c_str(), 1);
    }
  }

  Window MakeWindow(unsigned long pid, bool mapped) {
    const Window window = XCreateSimpleWindow(display_, root_, 10, 10, 100, 80, 0, 0, 0);
    XChangeProperty(display_, window, XInternAtom(display_, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&pid), 1);
    if (mapped) XMapWindow(display_, window);
    XSync(display_, False);
    return window;
  }

  void SetIconic(Window window) {
    const Atom state = XInternAtom(display_, "WM_STATE", False);
    unsigned long data[2] = {3, None};
    XChangeProperty(display_, window, state, state, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(data), 2);
    XSync(display_, False);
  }

  pid_t server_ = -1;
  std::string oldDisplay_;
  Display* display_ = nullptr;
  Window root_ = 0;
};

TEST_F(TopLevelWindowsTest, EnumeratesTopmostFirstWithOwnerVisibilityAndMinimisedState) {
  const Window shown = MakeWindow(4242, true);
  const Window minimised = MakeWindow(4242, false);
  SetIconic(minimised);
  const Window other = MakeWindow(777, true);

  std::vector<HWND> windows = AllWindows();
  ASSERT_LT(PositionOf(windows, shown), windows.size());
  ASSERT_LT(PositionOf(windows, minimised), windows.size());
  EXPECT_LT(PositionOf(windows, other), PositionOf(windows, shown));  // created later: on top
  XRaiseWindow(display_, shown);
  XSync(display_, False);
  windows = AllWindows();
  EXPECT_LT(PositionOf(windows, shown), PositionOf(windows, other));

  std::vector<HWND> first;
  EnumWindows(CollectFirstOnly, reinterpret_cast<LPARAM>(&first));
  EXPECT_EQ(first.size(), 1u);

  EXPECT_TRUE(IsWindowVisible(shown));
  EXPECT_FALSE(IsIconic(shown));
  EXPECT_FALSE(IsWindowVisible(minimised));
  EXPECT_TRUE(IsIconic(minimised));
  DWORD pid = 0;
  EXPECT_NE(GetWindowThreadProcessId(other, &pid), 0u);
  EXPECT_EQ(pid, 777u);
  EXPECT_NE(GetWindowThreadProcessId(minimised, &pid), 0u);
  EXPECT_EQ(pid, 4242u);

  // A window that does not exist answers nothing, and the process goes on.
  const HWND gone = shown | 0x7FFF;
  EXPECT_EQ(GetWindowThreadProcessId(gone, &pid), 0u);
  EXPECT_EQ(pid, 0u);
  EXPECT_FALSE(IsWindowVisible(gone));
  EXPECT_FALSE(IsIconic(gone));
  EXPECT_FALSE(PostMessageA(gone, WM_CLOSE, 0, 0));
  EXPECT_EQ(GetDesktopWindow(), root_);
}

TEST_F(TopLevelWindowsTest, WindowManagersClientListIsUsedWhenPresent) {
  const Window bottom = MakeWindow(1, true);
  MakeWindow(2, true);  // not a managed client
  const Window top = MakeWindow(3, true);
  unsigned long stacking[2] = {bottom, top};
  XChangeProperty(display_, root_, XInternAtom(display_, "_NET_CLIENT_LIST_STACKING", False),
                  XA_WINDOW, 32, PropModeReplace, reinterpret_cast<unsigned char*>(stacking), 2);
  XSync(display_, False);
  EXPECT_EQ(AllWindows(), (std::vector<HWND>{top, bottom}));
}

TEST_F(TopLevelWindowsTest, CloseRequestArrivesAsDeleteWindow) {
  const Window window = MakeWindow(4242, true);
  EXPECT_FALSE(PostMessageA(window, 0x0100, 0, 0));  // only WM_CLOSE is delivered
  ASSERT_TRUE(PostMessageA(window, WM_CLOSE, 0, 0));
  const Atom protocols = XInternAtom(display_, "WM_PROTOCOLS", False);
  const Atom deleteWindow = XInternAtom(display_, "WM_DELETE_WINDOW", False);
  bool received = false;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!received && std::chrono::steady_clock::now() < end) {
    while (XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      received |= event.type == ClientMessage && event.xclient.window == window &&
                  event.xclient.message_type == protocols &&
                  static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(received);
}

TEST(TopLevelWindowsWithoutDisplay, ThereAreNoWindows) {
  const char* old = getenv("DISPLAY");
  const std::string saved = old != nullptr ? old : "";
  unsetenv("DISPLAY");
  std::vector<HWND> windows;
  EXPECT_TRUE(EnumWindows(Collect, reinterpret_cast<LPARAM>(&windows)));
  EXPECT_TRUE(windows.empty());
  EXPECT_EQ(GetDesktopWindow(), 0u);
  EXPECT_FALSE(IsWindowVisible(1));
  EXPECT_FALSE(PostMessageA(1, WM_CLOSE, 0, 0));
  if (old != nullptr) setenv("DISPLAY", saved.c_str(), 1);
}

}  // namespace
}  // namespace pelmorix
