#include "platform/files/replace_file.h"

#include <string>

// After the interface, so that the system header's macros cannot rewrite its declarations.
#include <windows.h>

namespace pelmorix {
namespace {

std::string FolderOf(const std::string& path) {
  const size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? "." : path.substr(0, separator + 1);
}

constexpr ::DWORD kReplace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

// The move to another volume: a full copy beside the target first, which then takes the
// target's name, so the target is never a part of the new file.
bool CopyBesideThenMove(const std::string& from, const std::string& to) {
  char temporary[MAX_PATH + 16];
  if (::GetTempFileNameA(FolderOf(to).c_str(), "rpl", 0, temporary) == 0) return false;
  if (::CopyFileA(from.c_str(), temporary, FALSE) == 0 ||
      ::MoveFileExA(temporary, to.c_str(), kReplace) == 0) {
    ::DeleteFileA(temporary);
    return false;
  }
  ::DeleteFileA(from.c_str());
  return true;
}

}  // namespace

bool MoveFileReplacing(const std::string& from, const std::string& to) {
  const ::DWORD source = ::GetFileAttributesA(from.c_str());
  if (source == INVALID_FILE_ATTRIBUTES || (source & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
  const ::DWORD target = ::GetFileAttributesA(to.c_str());
  if (target != INVALID_FILE_ATTRIBUTES && (target & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
  if (::MoveFileExA(from.c_str(), to.c_str(), kReplace) != 0) return true;
  if (::GetLastError() != ERROR_NOT_SAME_DEVICE) return false;
  return CopyBesideThenMove(from, to);
}

}  // namespace pelmorix
