#include "platform/files/full_path.h"

#include <linux/limits.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "base/path.h"
#include "platform/files/files.h"

namespace pelmorix {

std::string ResolvedFullPath(const std::string& path) {
  std::string native = NativePath(path);
  if (native.empty()) return native;
  if (native.front() != '/') native = GetCurrentDir() + "/" + native;
  char resolved[PATH_MAX];
  if (realpath(native.c_str(), resolved) != nullptr) return resolved;
  return std::filesystem::path(native).lexically_normal().string();
}

}  // namespace pelmorix
