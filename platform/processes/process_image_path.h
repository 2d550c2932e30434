#pragma once

#include <string>

#include "platform/windows_types.h"

namespace pelmorix {

// Full path of the executable a process runs, as QueryFullProcessImageName gives it: on Linux
// the target of /proc/<id>/exe. A program whose file has been replaced or deleted since it
// started is still named by that path. Empty when the process is gone, is a zombie, or belongs
// to another user whose processes may not be inspected.
std::string QueryProcessImagePath(DWORD processId);

}  // namespace pelmorix
