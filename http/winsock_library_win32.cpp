#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "http/winsock_library.h"

namespace pelmorix {

// The system's library search: the program's folder, the system folders, then PATH.
void* OpenWinSockLibrary(const std::string& libraryFile) {
  return LoadLibraryA(libraryFile.c_str());
}

TLibraryProc WinSockLibraryFunction(void* library, const char* name) {
  return reinterpret_cast<TLibraryProc>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseWinSockLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

std::string LoaderErrorText() {
  const DWORD error = GetLastError();
  char text[512];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                error, 0, text, sizeof(text), nullptr);
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r')) --length;
  if (length == 0) return "system error " + std::to_string(error);
  return std::string(text, length);
}

}  // namespace pelmorix
