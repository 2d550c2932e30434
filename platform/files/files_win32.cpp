#include "platform/files/files.h"

#include <string>

// After the interface: the system header's macros must not rewrite its declarations. Two of
// them name functions of the interface and are taken back.
#include <windows.h>
#undef DeleteFile
#undef GetModuleFileName

namespace pelmorix {
namespace {

// The attributes of a path, or INVALID_FILE_ATTRIBUTES when it is not there.
::DWORD AttributesOf(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }

}  // namespace

bool CreateDir(const std::string& path) { return ::CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool CreateOrEmptyFile(const std::string& path) {
  // Opened as it is rather than created anew, so that a file's attributes stay as they were.
  const ::HANDLE file =
      ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool emptied = ::SetEndOfFile(file) != 0;
  return ::CloseHandle(file) != 0 && emptied;
}

bool DeleteFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

bool RenameFile(const std::string& from, const std::string& to) {
  return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED) != 0;
}

bool FileExists(const std::string& path) {
  const ::DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::string& path) {
  const ::DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string GetCurrentDir() {
  std::string folder(MAX_PATH, '\0');
  for (;;) {
    const ::DWORD length =
        ::GetCurrentDirectoryA(static_cast<::DWORD>(folder.size()), folder.data());
    if (length == 0) return "";
    // Too small a buffer gives the size needed, with the closing NUL.
    if (length < folder.size()) return folder.substr(0, length);
    folder.resize(length);
  }
}

bool SetCurrentDir(const std::string& path) { return ::SetCurrentDirectoryA(path.c_str()) != 0; }

std::string GetModuleFileName() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const ::DWORD length =
        ::GetModuleFileNameA(nullptr, path.data(), static_cast<::DWORD>(path.size()));
    if (length == 0) return "";
    // A name cut to the buffer fills it completely.
    if (length < path.size()) return path.substr(0, length);
    if (path.size() >= 32768) return "";
    path.resize(path.size() * 2);
  }
}

}  // namespace pelmorix
