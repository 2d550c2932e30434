// The harness's hands and eyes on a window of the test's own, whose events it reads directly:
// a click lands at the client coordinates given, keys reach the window, WM_CLOSE arrives as
// the delete request, and geometry, title and pixels are those of the window.
// GoogleTest first: Xlib's macros (None, Bool, Status) would break its headers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <functional>

#include "tests/e2e/x_desktop.h"
#include "tests/support/temp_folder.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace pelmorix::e2e {
namespace {

class TProbeWindow {
 public:
  TProbeWindow() : display_(XOpenDisplay(nullptr)) {
    if (display_ == nullptr) throw std::runtime_error("no display");
    const int screen = DefaultScreen(display_);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = 0x3366CC;  // TrueColor: 0xRRGGBB
    attributes.override_redirect = 0;
    attributes.event_mask = ButtonPressMask | KeyPressMask | ExposureMask | StructureNotifyMask;
    window_ =
        XCreateWindow(display_, RootWindow(display_, screen), 100, 50, 200, 100, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &attributes);
    XStoreName(display_, window_, "Harness Probe");
    const unsigned long pid = static_cast<unsigned long>(getpid());
    XChangeProperty(display_, window_, XInternAtom(display_, "_NET_WM_PID", 0), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
    Atom deleteWindow = XInternAtom(display_, "WM_DELETE_WINDOW", 0);
    XSetWMProtocols(display_, window_, &deleteWindow, 1);
    XMapWindow(display_, window_);
    XFlush(display_);
  }
  ~TProbeWindow() {
    XDestroyWindow(display_, window_);
    XCloseDisplay(display_);
  }

  unsigned long Id() const { return window_; }
  // Reads events until one satisfies the check, or the time is up.
  bool WaitForEvent(const std::function<bool(const XEvent&)>& check, double seconds = 20) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
      while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (check(event)) return true;
      }
      usleep(10000);
    }
    return false;
  }
  bool IsDeleteRequest(const XEvent& event) const {
    return event.type == ClientMessage &&
           event.xclient.message_type == XInternAtom(display_, "WM_PROTOCOLS", 0) &&
           static_cast<Atom>(event.xclient.data.l[0]) ==
               XInternAtom(display_, "WM_DELETE_WINDOW", 0);
  }
  KeySym KeyOf(const XEvent& event) {
    XKeyEvent key = event.xkey;
    return XLookupKeysym(&key, 0);
  }

 private:
  Display* display_;
  Window window_;
};

TEST(XDesktop, ClicksKeysCloseGeometryTitleAndPixelsOfAWindow) {
  TProbeWindow probe;
  ASSERT_TRUE(probe.WaitForEvent([](const XEvent& event) { return event.type == Expose; }));
  const std::optional<TXWindow> window = WaitForWindow(getpid(), 20, "Harness Probe");
  ASSERT_TRUE(window.has_value());
  EXPECT_EQ(window->Id(), probe.Id());
  EXPECT_EQ(window->Title(), "Harness Probe");
  const TRect area = window->Geometry();
  EXPECT_EQ(area.Left, 100);
  EXPECT_EQ(area.Top, 50);
  EXPECT_EQ(area.Width, 200);
  EXPECT_EQ(area.Height, 100);

  const test::TScreenshot shot = test::TakeScreenshot();
  EXPECT_EQ(window->Pixel(shot, 5, 5), RGB(0x33, 0x66, 0xCC));
  EXPECT_EQ(window->Pixel(shot, 199, 99), RGB(0x33, 0x66, 0xCC));
  EXPECT_NE(window->Pixel(shot, 200, 100), RGB(0x33, 0x66, 0xCC));

  window->Click(30, 40);
  int clickX = -1, clickY = -1;
  EXPECT_TRUE(probe.WaitForEvent([&](const XEvent& event) {
    if (event.type != ButtonPress) return false;
    clickX = event.xbutton.x;
    clickY = event.xbutton.y;
    return event.xbutton.button == 1;
  }));
  EXPECT_EQ(clickX, 30);
  EXPECT_EQ(clickY, 40);

  window->PressKeys("Tab Return");
  std::vector<KeySym> keys;
  EXPECT_TRUE(probe.WaitForEvent([&](const XEvent& event) {
    if (event.type == KeyPress) keys.push_back(probe.KeyOf(event));
    return keys.size() == 2;
  }));
  EXPECT_EQ(keys, (std::vector<KeySym>{XK_Tab, XK_Return}));

  window->Close();
  EXPECT_TRUE(
      probe.WaitForEvent([&](const XEvent& event) { return probe.IsDeleteRequest(event); }));

  // The screen as a file for a person.
  TTempFolder folder;
  SaveScreenshotPng(folder / "screen.png");
  EXPECT_EQ(ReadTextFile(folder / "screen.png").substr(1, 3), "PNG");
}

TEST(XDesktop, ProcessesWithoutWindowsHaveNone) {
  EXPECT_TRUE(VisibleWindowsOf(getpid()).empty());
  EXPECT_FALSE(WaitForWindow(getpid(), 0.5).has_value());
  EXPECT_TRUE(WaitForNoWindow(getpid(), 1));
}

}  // namespace
}  // namespace pelmorix::e2e
