#include "platform/processes/process_snapshot.h"

#include <cstring>
#include <string>

// After the interface: the system header's macros of the same names (MAX_PATH,
// INVALID_HANDLE_VALUE, ...) carry the same values and must not rewrite its declarations.
#include <windows.h>
// tlhelp32.h needs windows.h first.
#include <tlhelp32.h>

namespace pelmorix {
namespace {

// The system's process functions, looked up by name in kernel32 at first use: the system's
// record is the 64-bit one (304 bytes), which the calls below fill and copy from.
struct TToolhelp {
  using TCreate = ::HANDLE(WINAPI*)(::DWORD, ::DWORD);
  using TWalk = ::BOOL(WINAPI*)(::HANDLE, ::PROCESSENTRY32*);
  TCreate Create = nullptr;
  TWalk First = nullptr;
  TWalk Next = nullptr;
};

// A looked-up address as the function it is; void (*)() converts to every function type.
template <typename TFunction>
TFunction FunctionOf(::HMODULE module, const char* name) {
  return reinterpret_cast<TFunction>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

const TToolhelp& Toolhelp() {
  static const TToolhelp functions = [] {
    TToolhelp found;
    const ::HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    if (kernel == nullptr) return found;
    found.Create = FunctionOf<TToolhelp::TCreate>(kernel, "CreateToolhelp32Snapshot");
    found.First = FunctionOf<TToolhelp::TWalk>(kernel, "Process32First");
    found.Next = FunctionOf<TToolhelp::TWalk>(kernel, "Process32Next");
    return found;
  }();
  return functions;
}

BOOL FillEntry(HANDLE snapshot, PROCESSENTRY32* entry, TToolhelp::TWalk walk) {
  if (walk == nullptr || entry == nullptr || entry->dwSize < sizeof(PROCESSENTRY32)) return 0;
  ::PROCESSENTRY32 system{};
  system.dwSize = sizeof system;
  if (!walk(snapshot, &system)) return 0;
  const DWORD size = entry->dwSize;
  std::memset(entry, 0, sizeof(PROCESSENTRY32));
  entry->dwSize = size;
  entry->cntUsage = system.cntUsage;
  entry->th32ProcessID = system.th32ProcessID;
  // The heap id is a pointer-sized value that the 32-bit-sized record cannot hold; nothing
  // reads it.
  entry->th32ModuleID = system.th32ModuleID;
  entry->cntThreads = system.cntThreads;
  entry->th32ParentProcessID = system.th32ParentProcessID;
  entry->pcPriClassBase = system.pcPriClassBase;
  entry->dwFlags = system.dwFlags;
  std::memcpy(entry->szExeFile, system.szExeFile, sizeof entry->szExeFile);
  entry->szExeFile[MAX_PATH - 1] = '\0';
  return 1;
}

}  // namespace

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId) {
  const TToolhelp::TCreate create = Toolhelp().Create;
  if (create == nullptr) return INVALID_HANDLE_VALUE;
  return create(flags, processId);
}

BOOL Process32First(HANDLE snapshot, PROCESSENTRY32* entry) {
  return FillEntry(snapshot, entry, Toolhelp().First);
}

BOOL Process32Next(HANDLE snapshot, PROCESSENTRY32* entry) {
  return FillEntry(snapshot, entry, Toolhelp().Next);
}

BOOL CloseHandle(HANDLE handle) { return ::CloseHandle(handle); }

DWORD GetCurrentProcessId() { return ::GetCurrentProcessId(); }

HMODULE GetModuleHandleA(const char* moduleName) {
  if (moduleName == nullptr) return 0;
  return reinterpret_cast<HMODULE>(::GetModuleHandleA(moduleName));
}

FARPROC GetProcAddress(HMODULE module, const char* procName) {
  const ::HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  if (module == 0 || module != reinterpret_cast<HMODULE>(kernel) || procName == nullptr) {
    return nullptr;
  }
  const std::string name = procName;
  if (name == "CreateToolhelp32Snapshot")
    return reinterpret_cast<FARPROC>(&CreateToolhelp32Snapshot);
  if (name == "Process32First") return reinterpret_cast<FARPROC>(&Process32First);
  if (name == "Process32Next") return reinterpret_cast<FARPROC>(&Process32Next);
  return nullptr;
}

}  // namespace pelmorix
