// The desktop services of the Win32 backend: start-up, the message loop, the pending-message
// pump, the screen, the desktop window, the title and the painting freeze.
#include "platform/ui/win32/win32_backend.h"

#include "base/exception.h"
#include "platform/ui/form.h"
#include "platform/ui/win32/win32_window_classes.h"

namespace pelmorix {

namespace {

// Pending messages are run until none is left, but never endlessly: a window that keeps
// invalidating itself must not hang the caller.
constexpr int kMaxPendingMessages = 10000;

::HWND SystemHandle(HWND window) { return reinterpret_cast<::HWND>(window); }

}  // namespace

TWin32Backend::TWin32Backend() {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
  if (!::InitCommonControlsEx(&controls)) throw Exception("Cannot load the common controls");
  RegisterWindowClasses(WindowProcedure);
}

TWin32Backend::~TWin32Backend() {
  for (auto& [component, peer] : peers_) const_cast<TComponent*>(component)->SetObserver(nullptr);
  // A form's window takes its controls' windows and its timers with it.
  for (auto& [component, peer] : peers_)
    if (peer->component == peer->form) ::DestroyWindow(peer->window);
  for (auto& [component, peer] : peers_)
    if (peer->font) ::DeleteObject(peer->font);
}

void TWin32Backend::RunMessageLoop() {
  quit_requested_ = false;
  MSG message;
  while (!quit_requested_ && ::GetMessageA(&message, nullptr, 0, 0) > 0) Dispatch(message);
}

void TWin32Backend::QuitMessageLoop() {
  // A flag and a wake-up rather than WM_QUIT: a quit message left in the queue would close
  // the next message box instead.
  quit_requested_ = true;
  ::PostThreadMessageA(::GetCurrentThreadId(), WM_NULL, 0, 0);
}

void TWin32Backend::ProcessMessages() {
  MSG message;
  for (int i = 0; i < kMaxPendingMessages && ::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
       ++i) {
    if (message.message == WM_QUIT) {
      // Someone else's quit request belongs to the loop that waits for it.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

void TWin32Backend::SetKeyboardFilter(const TControl& control, std::function<bool(MSG&)> filter) {
  if (filter)
    keyboard_filters_[&control] = std::move(filter);
  else
    keyboard_filters_.erase(&control);
}

bool TWin32Backend::DispatchToFilter(MSG& message) {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST || !message.hwnd) return false;
  for (auto& [control, filter] : keyboard_filters_) {
    ::HWND holder = WindowOf(*control);
    if (!holder || !::IsChild(holder, message.hwnd)) continue;
    if (!filter(message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
    return true;
  }
  return false;
}

void TWin32Backend::Dispatch(MSG& message) {
  if (DispatchToFilter(message)) return;
  // The form takes its keyboard messages as a dialog does: Tab between controls, Enter for the
  // default button, Alt and a caption's mnemonic for its button.
  if (message.hwnd) {
    ::HWND top = ::GetAncestor(message.hwnd, GA_ROOT);
    TPeer* peer = top ? PeerOfWindow(top) : nullptr;
    if (peer && peer->component == peer->form && ::IsDialogMessageA(top, &message)) return;
  }
  ::TranslateMessage(&message);
  ::DispatchMessageA(&message);
}

void TWin32Backend::SetApplicationTitle(const std::string&) {
  // The task bar shows each window's own caption; the title matters only as the caption of
  // the message boxes, which the application gives them.
}

TScreenSize TWin32Backend::PrimaryScreenSize() {
  return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

HWND TWin32Backend::DesktopWindow() { return reinterpret_cast<HWND>(::GetDesktopWindow()); }

HWND TWin32Backend::FormHandle(TForm& form) { return reinterpret_cast<HWND>(Mirror(form).window); }

void TWin32Backend::SetPaintingFrozen(HWND window, bool frozen) {
  if (frozen) {
    ::LockWindowUpdate(SystemHandle(window));
    return;
  }
  ::LockWindowUpdate(nullptr);
  // What was held back is painted now.
  ::RedrawWindow(SystemHandle(window), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TWin32Backend::MinimizeForm(TForm& form) {
  if (TPeer* peer = PeerOf(form)) ::ShowWindow(peer->window, SW_MINIMIZE);
}

}  // namespace pelmorix
