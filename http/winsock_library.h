#pragma once

#include <string>

namespace pelmorix {

// Loading the socket library and finding its functions by name, the way the system does it.
// The handle is the loader's own; null is no library.
using TLibraryProc = void (*)();

// A null answer leaves the reason for LoaderErrorText.
void* OpenWinSockLibrary(const std::string& libraryFile);
TLibraryProc WinSockLibraryFunction(void* library, const char* name);
void CloseWinSockLibrary(void* library);
// The loader's text of its last failure on this thread.
std::string LoaderErrorText();

}  // namespace pelmorix
