#pragma once

#include "platform/processes/process_snapshot.h"
#include "platform/processes/top_level_windows.h"

namespace pelmorix {

// The process and window calls of the instance takeover. The program uses the platform's;
// tests put in their own, so a takeover can be checked against a made-up desktop.
struct TProcessServices {
  HMODULE (*GetModuleHandleA)(const char* moduleName);
  FARPROC (*GetProcAddress)(HMODULE module, const char* procName);
  BOOL (*CloseHandle)(HANDLE handle);
  DWORD (*GetCurrentProcessId)();
  BOOL (*EnumWindows)(WNDENUMPROC callback, LPARAM param);
  DWORD (*GetWindowThreadProcessId)(HWND window, DWORD* processId);
  BOOL (*IsWindowVisible)(HWND window);
  BOOL (*IsIconic)(HWND window);
  BOOL (*PostMessageA)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // The platform's own calls.
  static TProcessServices System();
};

}  // namespace pelmorix
