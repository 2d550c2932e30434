#include "platform/environment/environment.h"

#include <cstdlib>

namespace pelmorix {

std::string GetEnvironmentText(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value ? value : "";
}

}  // namespace pelmorix
