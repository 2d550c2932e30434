#pragma once

#include <cstdint>

#include "platform/windows_types.h"

namespace pelmorix {

using UINT = uint32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
// Called for each top-level window; answering 0 ends the enumeration.
using WNDENUMPROC = BOOL (*)(HWND window, LPARAM param);

constexpr UINT WM_CLOSE = 0x0010;

// The top-level windows of the desktop, on X11: the window manager's client list
// (_NET_CLIENT_LIST_STACKING) when there is one, else the root window's children; topmost first.
// Without a display there are no windows: nothing is enumerated and every query fails.
BOOL EnumWindows(WNDENUMPROC callback, LPARAM param);

// Stores the owning process (_NET_WM_PID; 0 when the window does not name it) and answers a
// non-zero id for an existing window, 0 otherwise.
DWORD GetWindowThreadProcessId(HWND window, DWORD* processId);

// Visible: mapped and viewable. Iconic: minimised (WM_STATE iconic, or _NET_WM_STATE hidden).
BOOL IsWindowVisible(HWND window);
BOOL IsIconic(HWND window);

// Only WM_CLOSE is delivered: as the WM_DELETE_WINDOW request of the window's protocols.
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The root window; 0 without a display.
HWND GetDesktopWindow();

}  // namespace pelmorix
