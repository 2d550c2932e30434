#include "platform/processes/process_image_path.h"

#include "platform/files/full_path.h"

// After the interface, so that the system header's macros cannot rewrite its declarations.
#include <windows.h>

namespace pelmorix {

std::string QueryProcessImagePath(DWORD processId) {
  const ::HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (process == nullptr) return "";
  ::DWORD exitCode = 0;
  char path[32768];
  ::DWORD size = sizeof path;
  // A process that has ended but is still held open by someone is no longer running.
  const bool running = ::GetExitCodeProcess(process, &exitCode) != 0 && exitCode == STILL_ACTIVE;
  const bool named = running && ::QueryFullProcessImageNameA(process, 0, path, &size) != 0;
  ::CloseHandle(process);
  // In the same form as ResolvedFullPath gives the file, so that the two compare equal.
  return named ? ResolvedFullPath(std::string(path, size)) : "";
}

}  // namespace pelmorix
