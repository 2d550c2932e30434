#pragma once

#include <cstdint>

namespace pelmorix {

// The few Windows value types that cross the platform stand-ins.
using DWORD = uint32_t;
using BOOL = int32_t;
// A window handle: on X11 the window id; 0 is no window.
using HWND = uintptr_t;

}  // namespace pelmorix
