#pragma once

#include <string>

namespace pelmorix {

// The absolute form of a path: "\" becomes "/", a relative path is taken against the current
// directory, and for an existing file every symbolic link and "." or ".." is resolved, so the
// text compares equal to the kernel's name of a running program's executable. A path that does
// not exist is only made absolute and tidied.
std::string ResolvedFullPath(const std::string& path);

}  // namespace pelmorix
