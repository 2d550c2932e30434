#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/file_handle.h"

namespace pelmorix {

int OpenFileHandle(const std::string& path, TFileAccess access) {
  int flags = O_RDONLY;
  if (access == TFileAccess::kWrite) flags = O_WRONLY;
  if (access == TFileAccess::kReadWrite) flags = O_RDWR;
  const int handle = ::open(path.c_str(), flags | O_CLOEXEC);
  struct stat info {};
  if (handle >= 0 && (::fstat(handle, &info) != 0 || S_ISDIR(info.st_mode))) {
    ::close(handle);
    return -1;
  }
  return handle;
}

int CreateFileHandle(const std::string& path) {
  return ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

void CloseFileHandle(int handle) { ::close(handle); }

int64_t ReadFileHandle(int handle, void* buffer, int64_t count) {
  for (;;) {
    const ssize_t n = ::read(handle, buffer, static_cast<size_t>(count));
    if (n >= 0 || errno != EINTR) return n;
  }
}

int64_t WriteFileHandle(int handle, const void* buffer, int64_t count) {
  for (;;) {
    const ssize_t n = ::write(handle, buffer, static_cast<size_t>(count));
    if (n >= 0 || errno != EINTR) return n;
  }
}

int64_t SeekFileHandle(int handle, int64_t offset, int origin) {
  return ::lseek(handle, static_cast<off_t>(offset), origin);
}

bool IsRegularFileHandle(int handle) {
  struct stat info {};
  return ::fstat(handle, &info) == 0 && S_ISREG(info.st_mode);
}

bool SetFileHandleSize(int handle, int64_t size) {
  return ::ftruncate(handle, static_cast<off_t>(size)) == 0;
}

}  // namespace pelmorix
