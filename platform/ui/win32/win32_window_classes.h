#pragma once

#include "platform/ui/win32/win32_api.h"

namespace pelmorix {

// The backend's own window classes: the form, a panel that holds controls, and the plain face
// of a control of no kind the backend knows.
inline constexpr char kFormClass[] = "PelmorixForm";
inline constexpr char kPanelClass[] = "PelmorixPanel";
inline constexpr char kFaceClass[] = "PelmorixFace";

// Registers the three classes with the procedure (once a process: a second backend finds them
// registered). The form takes the program's icon, resource 1, where it has one.
void RegisterWindowClasses(WNDPROC procedure);

}  // namespace pelmorix
