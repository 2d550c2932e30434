#pragma once

#include <string>

namespace pelmorix {

// The value of an environment variable; the empty text when it is not set.
std::string GetEnvironmentText(const std::string& name);

}  // namespace pelmorix
