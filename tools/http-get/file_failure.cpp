#include "tools/http-get/file_failure.h"

#include <cstring>

namespace pelmorix {

std::string FileFailureText(const std::string& action, const std::string& name, int error) {
  const std::string reason = error != 0 ? std::strerror(error) : "the system gave no reason";
  return "Cannot " + action + " " + name + ": " + reason;
}

}  // namespace pelmorix
