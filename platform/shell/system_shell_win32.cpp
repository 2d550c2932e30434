#include "platform/shell/system_shell.h"

// After the interface: the system header's macros of the same names (SW_SHOW, ...) carry the
// same values and must not rewrite its declarations.
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

namespace pelmorix {

TSystemShell::TSystemShell() = default;

int TSystemShell::ShellExecuteA(HWND window, const char* operation, const char* file,
                                const char* parameters, const char* directory, int showCommand) {
  // The shell treats an empty verb as no verb, and so the default one.
  const char* verb = operation != nullptr && *operation != '\0' ? operation : nullptr;
  const HINSTANCE answer = ::ShellExecuteA(reinterpret_cast<::HWND>(window), verb, file, parameters,
                                           directory, showCommand);
  return static_cast<int>(reinterpret_cast<intptr_t>(answer));
}

}  // namespace pelmorix
