#include "platform/processes/top_level_windows.h"

// After the interface: the system header's macros of the same names (WM_CLOSE) carry the same
// values and must not rewrite its declarations.
#include <windows.h>

namespace pelmorix {
namespace {

struct TEnumeration {
  WNDENUMPROC Callback;
  LPARAM Param;
};

::BOOL CALLBACK ForwardWindow(::HWND window, ::LPARAM param) {
  const auto* enumeration = reinterpret_cast<const TEnumeration*>(param);
  return enumeration->Callback(reinterpret_cast<HWND>(window), enumeration->Param);
}

::HWND SystemWindow(HWND window) { return reinterpret_cast<::HWND>(window); }

}  // namespace

BOOL EnumWindows(WNDENUMPROC callback, LPARAM param) {
  if (callback == nullptr) return 0;
  TEnumeration enumeration{callback, param};
  return ::EnumWindows(ForwardWindow, reinterpret_cast<::LPARAM>(&enumeration));
}

DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) {
  ::DWORD owner = 0;
  const DWORD thread = ::GetWindowThreadProcessId(SystemWindow(window), &owner);
  if (processId != nullptr) *processId = owner;
  return thread;
}

BOOL IsWindowVisible(HWND window) { return ::IsWindowVisible(SystemWindow(window)); }

BOOL IsIconic(HWND window) { return ::IsIconic(SystemWindow(window)); }

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessageA(SystemWindow(window), message, wParam, lParam);
}

HWND GetDesktopWindow() { return reinterpret_cast<HWND>(::GetDesktopWindow()); }

}  // namespace pelmorix
