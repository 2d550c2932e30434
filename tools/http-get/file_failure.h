#pragma once

#include <string>

namespace pelmorix {

// "Cannot <action> <name>: <reason>", the reason being the C library's English text for the
// error number; 0 for a failure the system gave no reason for.
std::string FileFailureText(const std::string& action, const std::string& name, int error);

}  // namespace pelmorix
