#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>

#include "base/file_handle.h"

namespace pelmorix {
namespace {

// Text mode would turn every LF into CR LF; child processes must not inherit the handle.
constexpr int kAlways = _O_BINARY | _O_NOINHERIT;

// The C library transfers at most an unsigned int per call.
unsigned int ChunkOf(int64_t count) {
  return static_cast<unsigned int>(std::min<int64_t>(count, INT_MAX));
}

}  // namespace

int OpenFileHandle(const std::string& path, TFileAccess access) {
  int flags = _O_RDONLY;
  if (access == TFileAccess::kWrite) flags = _O_WRONLY;
  if (access == TFileAccess::kReadWrite) flags = _O_RDWR;
  int handle = -1;
  // Other programs may read and write the file meanwhile, as they may on POSIX.
  if (_sopen_s(&handle, path.c_str(), flags | kAlways, _SH_DENYNO, _S_IREAD | _S_IWRITE) != 0) {
    return -1;
  }
  struct _stat64 info {};
  if (_fstat64(handle, &info) != 0 || (info.st_mode & _S_IFMT) == _S_IFDIR) {
    _close(handle);
    return -1;
  }
  return handle;
}

int CreateFileHandle(const std::string& path) {
  int handle = -1;
  if (_sopen_s(&handle, path.c_str(), _O_RDWR | _O_CREAT | _O_TRUNC | kAlways, _SH_DENYNO,
               _S_IREAD | _S_IWRITE) != 0) {
    return -1;
  }
  return handle;
}

void CloseFileHandle(int handle) { _close(handle); }

int64_t ReadFileHandle(int handle, void* buffer, int64_t count) {
  return _read(handle, buffer, ChunkOf(count));
}

int64_t WriteFileHandle(int handle, const void* buffer, int64_t count) {
  return _write(handle, buffer, ChunkOf(count));
}

int64_t SeekFileHandle(int handle, int64_t offset, int origin) {
  return _lseeki64(handle, offset, origin);
}

bool IsRegularFileHandle(int handle) {
  struct _stat64 info {};
  return _fstat64(handle, &info) == 0 && (info.st_mode & _S_IFMT) == _S_IFREG;
}

bool SetFileHandleSize(int handle, int64_t size) { return _chsize_s(handle, size) == 0; }

}  // namespace pelmorix
