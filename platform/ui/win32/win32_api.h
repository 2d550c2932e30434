#pragma once

// The system's window headers, with the macros that would rewrite the toolkit's own names
// (MessageBox, MB_OK, IDYES, RGB, ...) taken back. Include this instead of <windows.h>; the
// toolkit's constants have the system's values, so code here may use either.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#undef MessageBox
#undef MB_OK
#undef MB_YESNO
#undef MB_ICONERROR
#undef IDOK
#undef IDYES
#undef IDNO
#undef RGB
#undef GetRValue
#undef GetGValue
#undef GetBValue

// The system's handle constants, spelled outside namespace pelmorix, whose own HWND is a number.
namespace win32 {
inline const HWND kBottomOfOrder = HWND_BOTTOM;
}  // namespace win32
