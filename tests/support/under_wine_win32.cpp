#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "tests/support/under_wine.h"

namespace pelmorix {

// Wine's ntdll tells its version; Windows' has no such call.
bool RunsUnderWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace pelmorix
