#include "launcher/takeover.h"

#include <exception>
#include <string>

namespace pelmorix {
namespace {

// The file-name part of a path, upper-cased in a to z only, with the "_" of a first "_.EXE"
// removed.
std::string ComparableProgramName(const std::string& path) {
  const size_t separator = path.find_last_of("\\:/");
  std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  const size_t underscore = name.find("_.EXE");
  if (underscore != std::string::npos) name.erase(underscore, 1);
  return name;
}

struct WindowSearch {
  const TProcessServices* processes;
  DWORD processId;
  HWND found;
};

BOOL CheckWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  const TProcessServices& p = *search->processes;
  if (!p.IsWindowVisible(window) && !p.IsIconic(window)) return 1;
  DWORD owner = 0;
  p.GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId) return 1;
  search->found = window;
  return 0;
}

// The id of the last other process that runs the launcher's program, 0 when none.
DWORD FindOlderInstance(const TLauncherEnvironment& environment) {
  const TProcessServices& p = environment.Processes;
  const HMODULE kernel = p.GetModuleHandleA("kernel32.dll");
  auto create = reinterpret_cast<TCreateToolhelp32Snapshot>(
      p.GetProcAddress(kernel, "CreateToolhelp32Snapshot"));
  auto first = reinterpret_cast<TProcess32First>(p.GetProcAddress(kernel, "Process32First"));
  auto next = reinterpret_cast<TProcess32Next>(p.GetProcAddress(kernel, "Process32Next"));
  if (create == nullptr || first == nullptr || next == nullptr) return 0;

  const DWORD ownId = p.GetCurrentProcessId();
  const std::string ownName = ComparableProgramName(environment.ExePath);
  DWORD found = 0;
  HANDLE snapshot = create(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(PROCESSENTRY32);
  for (BOOL more = first(snapshot, &entry); more; more = next(snapshot, &entry)) {
    if (ComparableProgramName(entry.szExeFile) == ownName && entry.th32ProcessID != ownId) {
      found = entry.th32ProcessID;
    }
  }
  p.CloseHandle(snapshot);
  return found;
}

}  // namespace

HWND FindProcessWindow(const TProcessServices& processes, DWORD processId) {
  WindowSearch search{&processes, processId, 0};
  processes.EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void TakeOverInstance(const TLauncherEnvironment& environment) {
  try {
    const DWORD older = FindOlderInstance(environment);
    if (older == 0) return;
    const HWND window = FindProcessWindow(environment.Processes, older);
    if (window != 0) environment.Processes.PostMessageA(window, WM_CLOSE, 0, 0);
  } catch (const std::exception&) {
    // A takeover that fails leaves the older copy running; this one starts all the same.
  }
}

}  // namespace pelmorix
