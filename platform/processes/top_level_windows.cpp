#include "platform/processes/top_level_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <string>
#include <vector>

namespace pelmorix {
namespace {

// Xlib reports errors through one process-wide handler without user data; a window that has
// gone away between two calls must not end the process, so the handler only counts.
int errorCount = 0;
int CountError(Display*, XErrorEvent*) {
  ++errorCount;
  return 0;
}

// One connection to the display for one call, with the counting error handler installed and
// the previous handler restored afterwards.
class TDisplayConnection {
 public:
  TDisplayConnection() : display_(XOpenDisplay(nullptr)) {
    if (display_ != nullptr) previous_ = XSetErrorHandler(CountError);
  }
  ~TDisplayConnection() {
    if (display_ == nullptr) return;
    XSync(display_, False);
    XSetErrorHandler(previous_);
    XCloseDisplay(display_);
  }
  TDisplayConnection(const TDisplayConnection&) = delete;
  TDisplayConnection& operator=(const TDisplayConnection&) = delete;

  Display* Get() const { return display_; }
  Atom AtomOf(const char* name) const { return XInternAtom(display_, name, False); }

  // The 32-bit items of a window property, or nothing when the window or property is missing.
  std::vector<unsigned long> Property(Window window, const char* name, Atom type) const {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> items;
    const int answer = XGetWindowProperty(display_, window, AtomOf(name), 0, 1 << 16, False, type,
                                          &actualType, &format, &count, &remaining, &data);
    if (answer == Success && data != nullptr && format == 32) {
      // Xlib hands 32-bit items over as longs.
      const auto* values = reinterpret_cast<unsigned long*>(data);
      items.assign(values, values + count);
    }
    if (data != nullptr) XFree(data);
    return items;
  }

 private:
  Display* display_;
  XErrorHandler previous_ = nullptr;
};

constexpr unsigned long kIconicState = 3;

std::vector<HWND> TopLevelWindows() {
  TDisplayConnection connection;
  std::vector<HWND> windows;
  Display* display = connection.Get();
  if (display == nullptr) return windows;
  const Window root = DefaultRootWindow(display);
  std::vector<unsigned long> stacking =
      connection.Property(root, "_NET_CLIENT_LIST_STACKING", XA_WINDOW);
  if (stacking.empty()) {
    Window rootReturn = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, root, &rootReturn, &parent, &children, &count) != 0 && children) {
      stacking.assign(children, children + count);
    }
    if (children != nullptr) XFree(children);
  }
  // Both lists run bottom to top.
  for (auto it = stacking.rbegin(); it != stacking.rend(); ++it) windows.push_back(*it);
  return windows;
}

}  // namespace

BOOL EnumWindows(WNDENUMPROC callback, LPARAM param) {
  if (callback == nullptr) return 0;
  for (const HWND window : TopLevelWindows()) {
    if (!callback(window, param)) break;
  }
  return 1;
}

DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) {
  if (processId != nullptr) *processId = 0;
  TDisplayConnection connection;
  if (connection.Get() == nullptr || window == 0) return 0;
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(connection.Get(), window, &attributes) == 0) return 0;
  const auto pid = connection.Property(window, "_NET_WM_PID", XA_CARDINAL);
  const DWORD owner = pid.empty() ? 0 : static_cast<DWORD>(pid[0]);
  if (processId != nullptr) *processId = owner;
  // No thread ids here: the process id stands in, and a window without one answers 1.
  return owner != 0 ? owner : 1;
}

BOOL IsWindowVisible(HWND window) {
  TDisplayConnection connection;
  if (connection.Get() == nullptr || window == 0) return 0;
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(connection.Get(), window, &attributes) == 0) return 0;
  return attributes.map_state == IsViewable;
}

BOOL IsIconic(HWND window) {
  TDisplayConnection connection;
  if (connection.Get() == nullptr || window == 0) return 0;
  const auto state = connection.Property(window, "WM_STATE", connection.AtomOf("WM_STATE"));
  if (!state.empty() && state[0] == kIconicState) return 1;
  const Atom hidden = connection.AtomOf("_NET_WM_STATE_HIDDEN");
  for (const unsigned long atom : connection.Property(window, "_NET_WM_STATE", XA_ATOM)) {
    if (atom == hidden) return 1;
  }
  return 0;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM, LPARAM) {
  if (message != WM_CLOSE) return 0;
  TDisplayConnection connection;
  Display* display = connection.Get();
  if (display == nullptr || window == 0) return 0;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = connection.AtomOf("WM_PROTOCOLS");
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(connection.AtomOf("WM_DELETE_WINDOW"));
  event.xclient.data.l[1] = CurrentTime;
  const int errorsBefore = errorCount;
  const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  return sent != 0 && errorCount == errorsBefore;
}

HWND GetDesktopWindow() {
  TDisplayConnection connection;
  return connection.Get() != nullptr ? DefaultRootWindow(connection.Get()) : 0;
}

}  // namespace pelmorix
