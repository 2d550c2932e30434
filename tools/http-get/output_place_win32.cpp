#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cerrno>

#include "tools/http-get/output_place.h"

// After the interface, so that the system header's macros cannot rewrite its declarations.
#include <windows.h>

namespace pelmorix {

TOutputPlace OutputPlaceOf(const std::string& path) {
  // Opening asks the system what the name is: NUL and CON are character devices, a pipe is a
  // pipe; a folder opens only with backup semantics.
  const ::HANDLE handle =
      ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return TOutputPlace::kFile;
  TOutputPlace place = TOutputPlace::kDevice;
  ::BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileType(handle) == FILE_TYPE_DISK) {
    const bool folder = ::GetFileInformationByHandle(handle, &info) != 0 &&
                        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    place = folder ? TOutputPlace::kFolder : TOutputPlace::kFile;
  }
  ::CloseHandle(handle);
  return place;
}

bool CreateNewFile(const std::string& path) {
  int handle = -1;
  const int error =
      _sopen_s(&handle, path.c_str(), _O_CREAT | _O_EXCL | _O_RDWR | _O_BINARY | _O_NOINHERIT,
               _SH_DENYNO, _S_IREAD | _S_IWRITE);
  if (error != 0) {
    errno = error;
    return false;
  }
  _close(handle);
  return true;
}

bool ReplaceFileWith(const std::string& to, const std::string& from) {
  return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace pelmorix
