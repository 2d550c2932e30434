#include "platform/environment/environment.h"

// After the interface, so that the system header's macros cannot rewrite its declarations.
#include <windows.h>

namespace pelmorix {

std::string GetEnvironmentText(const std::string& name) {
  std::string value(256, '\0');
  for (;;) {
    const ::DWORD length =
        ::GetEnvironmentVariableA(name.c_str(), value.data(), static_cast<::DWORD>(value.size()));
    // 0 for a variable that is not set (or is empty); too small a buffer gives the size needed.
    if (length < value.size()) return value.substr(0, length);
    value.resize(length);
  }
}

}  // namespace pelmorix
