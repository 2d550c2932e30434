#include "platform/processes/process_image_path.h"

#include <unistd.h>

#include <string>

namespace pelmorix {

std::string QueryProcessImagePath(DWORD processId) {
  const std::string link = "/proc/" + std::to_string(processId) + "/exe";
  char target[4096];
  const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
  if (length <= 0) return "";
  std::string path(target, static_cast<size_t>(length));
  // The kernel marks an executable that is no longer under its name this way.
  const std::string deleted = " (deleted)";
  if (path.size() > deleted.size() &&
      path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0) {
    path.resize(path.size() - deleted.size());
  }
  return path;
}

}  // namespace pelmorix
