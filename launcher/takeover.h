#pragma once

#include "launcher/launcher_environment.h"

namespace pelmorix {

// The first top-level window, topmost first, that is visible or minimised and belongs to the
// process; 0 when there is none.
HWND FindProcessWindow(const TProcessServices& processes, DWORD processId);

// Asks an older running copy of the launcher to close: the last process in the snapshot whose
// executable has the launcher's file name (case aside, "NAME_.EXE" counting as "NAME.EXE"),
// other than this one, gets WM_CLOSE at its first window. It does not wait; nothing it meets
// is reported.
void TakeOverInstance(const TLauncherEnvironment& environment);

}  // namespace pelmorix
