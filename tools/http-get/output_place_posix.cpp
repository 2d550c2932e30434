#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "base/path.h"
#include "tools/http-get/output_place.h"

namespace pelmorix {

TOutputPlace OutputPlaceOf(const std::string& path) {
  struct stat info {};
  if (stat(NativePath(path).c_str(), &info) != 0 || S_ISREG(info.st_mode)) {
    return TOutputPlace::kFile;
  }
  return S_ISDIR(info.st_mode) ? TOutputPlace::kFolder : TOutputPlace::kDevice;
}

bool CreateNewFile(const std::string& path) {
  const int fd = open(NativePath(path).c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  close(fd);
  return true;
}

bool ReplaceFileWith(const std::string& toPath, const std::string& fromPath) {
  const std::string to = NativePath(toPath), from = NativePath(fromPath);
  struct stat target {};
  if (stat(to.c_str(), &target) == 0 && chmod(from.c_str(), target.st_mode & 07777) != 0) {
    return false;
  }
  return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace pelmorix
