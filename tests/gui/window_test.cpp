// Pelmorix.exe as a person sees it: a fixed-size window, centred, without a maximise button,
// nothing but the browser in its client area; and a WM_CLOSE from another process closes it.
// GoogleTest first: Xlib's macros (None, Bool, Status) would break its headers.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/gui/gui_support.h"
#include "tests/support/temp_folder.h"

namespace pelmorix {
namespace {

int IgnoreXError(Display*, XErrorEvent*) { return 0; }

// The viewable top-level window of the process, or 0. Other clients' windows may vanish
// between the tree query and the questions about them; Xlib's default handler would end the
// test process on the BadWindow that follows, leaving the launcher running.
Window FindWindowOf(Display* display, pid_t pid) {
  XSync(display, False);
  const XErrorHandler previous = XSetErrorHandler(IgnoreXError);
  const Atom pid_atom = XInternAtom(display, "_NET_WM_PID", False);
  Window root_return, parent_return, *children = nullptr;
  unsigned count = 0;
  Window found = 0;
  XQueryTree(display, DefaultRootWindow(display), &root_return, &parent_return, &children, &count);
  for (unsigned i = 0; i < count && !found; ++i) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, children[i], &attributes) ||
        attributes.map_state != IsViewable)
      continue;
    Atom type;
    int format;
    unsigned long items, rest;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, children[i], pid_atom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &items, &rest, &data) == Success &&
        data && items == 1 &&
        *reinterpret_cast<unsigned long*>(data) == static_cast<unsigned long>(pid))
      found = children[i];
    if (data) XFree(data);
  }
  if (children) XFree(children);
  XSync(display, False);
  XSetErrorHandler(previous);
  return found;
}

std::string Utf8Title(Display* display, Window window) {
  Atom type;
  int format;
  unsigned long items, rest;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), 0, 256,
                         False, XInternAtom(display, "UTF8_STRING", False), &type, &format, &items,
                         &rest, &data) == Success &&
      data)
    title.assign(reinterpret_cast<char*>(data), items);
  if (data) XFree(data);
  return title;
}

// The Motif hints: flags, functions, decorations.
std::vector<unsigned long> MotifHints(Display* display, Window window) {
  const Atom atom = XInternAtom(display, "_MOTIF_WM_HINTS", False);
  Atom type;
  int format;
  unsigned long items, rest;
  unsigned char* data = nullptr;
  std::vector<unsigned long> hints;
  if (XGetWindowProperty(display, window, atom, 0, 5, False, atom, &type, &format, &items, &rest,
                         &data) == Success &&
      data)
    hints.assign(reinterpret_cast<unsigned long*>(data),
                 reinterpret_cast<unsigned long*>(data) + items);
  if (data) XFree(data);
  return hints;
}

void SendDeleteWindow(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

// A configuration server whose rows keep the window at its design size and caption and whose
// start page is blank and names no button: the demo server with a scenario of its own.
class TBlankServer {
 public:
  TBlankServer() {
    const std::string scenario = folder_ / "scenario";
    std::filesystem::create_directories(scenario);
    std::ofstream(scenario + "/servers.txt") << "{base}";
    std::ofstream rows(scenario + "/buttons.txt");
    rows << "0|312|210|0||Tarnovia Start|||";
    for (int row = 1; row <= 12; ++row) rows << "\n" << row << (row == 8 ? "|0|0|12" : "|0|0|0");
    rows.close();
    std::ofstream(scenario + "/page.html") << "<html><body style='margin:0'></body></html>";
    const std::string portFile = folder_ / "port";
    server_ = std::make_unique<test::TChildProcess>(std::vector<std::string>{
        "python3", PELMORIX_SOURCE_DIR "/tools/demo-server/demo_server.py", "--port", "0",
        "--port-file", portFile, "--scenario", scenario, "--log", folder_ / "log"});
    test::WaitFor([&] { return std::filesystem::exists(portFile); }, [] {}, 20);
    std::ifstream(portFile) >> port_;
  }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }
  std::string Folder() const { return folder_.Path(); }

 private:
  TTempFolder folder_;
  std::unique_ptr<test::TChildProcess> server_;
  int port_ = 0;
};

TEST(LauncherWindow, FixedCentredWindowWithTheBrowserThatClosesOnWmClose) {
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(nullptr, display);
  TBlankServer server;
  setenv("PELMORIX_CONFIG_SERVER", server.Base().c_str(), 1);
  setenv("PELMORIX_REGISTRY", (server.Folder() + "/registry").c_str(), 1);
  test::TChildProcess launcher({PELMORIX_BIN_DIR "/Pelmorix.exe", "/101"});
  Window window = 0;
  ASSERT_TRUE(test::WaitFor([&] { return (window = FindWindowOf(display, launcher.Pid())) != 0; },
                            [] {}, 60));
  // Let the browser paint its blank page.
  test::WaitFor([] { return false; }, [] {}, 2.0);

  EXPECT_EQ("Tarnovia Start", Utf8Title(display, window));
  XWindowAttributes attributes;
  ASSERT_TRUE(XGetWindowAttributes(display, window, &attributes));
  EXPECT_EQ(316, attributes.width);
  EXPECT_EQ(214, attributes.height);
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
  const int screen_width = DisplayWidth(display, DefaultScreen(display));
  const int screen_height = DisplayHeight(display, DefaultScreen(display));
  EXPECT_NEAR((screen_width - 316) / 2, x, 1);
  EXPECT_NEAR((screen_height - 214) / 2, y, 1);

  XSizeHints hints;
  long supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(display, window, &hints, &supplied));
  ASSERT_TRUE((hints.flags & PMinSize) && (hints.flags & PMaxSize));
  EXPECT_EQ(316, hints.min_width);
  EXPECT_EQ(316, hints.max_width);
  EXPECT_EQ(214, hints.min_height);
  EXPECT_EQ(214, hints.max_height);

  // Functions and decorations of the frame: minimise yes, maximise no.
  const std::vector<unsigned long> motif = MotifHints(display, window);
  ASSERT_GE(motif.size(), 3u);
  EXPECT_TRUE(motif[0] & 1);
  EXPECT_TRUE(motif[1] & 8);
  EXPECT_FALSE(motif[1] & 16);
  EXPECT_FALSE(motif[2] & 64);

  // Nothing but the browser shows in the client area: every button and the progress panel
  // are hidden at design time, so the area is of one colour.
  const test::TScreenshot shot = test::TakeScreenshot();
  const TColor first = shot.Pixel(x, y);
  int others = 0;
  for (int row = 0; row < 214; ++row)
    for (int column = 0; column < 316; ++column)
      if (shot.Pixel(x + column, y + row) != first) ++others;
  EXPECT_EQ(0, others);

  SendDeleteWindow(display, window);
  const int status = launcher.WaitForExit(30);
  ASSERT_NE(-1, status) << "the launcher did not close";
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(0, WEXITSTATUS(status));
  XCloseDisplay(display);
}

TEST(LauncherWindow, UpdateExeIsACopyOfThePrograms) {
  struct stat launcher {
  }, update{};
  ASSERT_EQ(0, stat(PELMORIX_BIN_DIR "/Pelmorix.exe", &launcher));
  ASSERT_EQ(0, stat(PELMORIX_BIN_DIR "/Update.exe", &update));
  EXPECT_EQ(launcher.st_size, update.st_size);
  EXPECT_TRUE(update.st_mode & S_IXUSR);
}

}  // namespace
}  // namespace pelmorix
