#pragma once

#include <string>

namespace pelmorix {

// The system writes paths the Windows way ("temp\test.exe"); on this platform the separator
// is "/". Nothing else in a path is rewritten.
std::string NativePath(std::string path);

}  // namespace pelmorix
