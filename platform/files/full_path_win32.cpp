#include "platform/files/full_path.h"

#include <string>

// After the interface, so that the system header's macros cannot rewrite its declarations.
#include <windows.h>

namespace pelmorix {
namespace {

std::string FullPathName(const std::string& path) {
  std::string full(MAX_PATH, '\0');
  for (;;) {
    const ::DWORD length =
        ::GetFullPathNameA(path.c_str(), static_cast<::DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return path;
    if (length < full.size()) return full.substr(0, length);
    full.resize(length);
  }
}

// The name the file system keeps for an existing file or folder: links followed, short names
// made long, every part in its stored case; empty when the path cannot be opened.
std::string FinalPathName(const std::string& path) {
  const ::HANDLE file =
      ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  std::string final(MAX_PATH, '\0');
  ::DWORD length = 0;
  for (;;) {
    length = ::GetFinalPathNameByHandleA(file, final.data(), static_cast<::DWORD>(final.size()),
                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length < final.size()) break;
    final.resize(length);
  }
  ::CloseHandle(file);
  if (length == 0) return "";
  final.resize(length);
  // The system answers in its long-path form: "\\?\C:\..." or "\\?\UNC\server\...".
  if (final.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + final.substr(8);
  if (final.rfind("\\\\?\\", 0) == 0) return final.substr(4);
  return final;
}

}  // namespace

std::string ResolvedFullPath(const std::string& path) {
  if (path.empty()) return path;
  const std::string full = FullPathName(path);
  const std::string final = FinalPathName(full);
  return final.empty() ? full : final;
}

}  // namespace pelmorix
