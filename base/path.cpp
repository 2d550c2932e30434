#include "base/path.h"

#include <algorithm>

namespace pelmorix {

std::string NativePath(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace pelmorix
