#pragma once

#include <cstdint>

#include "platform/windows_types.h"

namespace pelmorix {

using HANDLE = void*;
using HMODULE = uintptr_t;
using FARPROC = void (*)();

inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(~uintptr_t{0});
constexpr DWORD TH32CS_SNAPPROCESS = 0x00000002;
constexpr int MAX_PATH = 260;

// The single-byte process entry, laid out as the 32-bit record is, so that its size is 296.
struct PROCESSENTRY32 {
  DWORD dwSize;
  DWORD cntUsage;
  DWORD th32ProcessID;
  DWORD th32DefaultHeapID;
  DWORD th32ModuleID;
  DWORD cntThreads;
  DWORD th32ParentProcessID;
  int32_t pcPriClassBase;
  DWORD dwFlags;
  char szExeFile[MAX_PATH];  // file name of the executable, Windows-1252
};
static_assert(sizeof(PROCESSENTRY32) == 296);

// The process snapshot: the processes running when it is taken, in ascending id order, each
// named by the file name of its executable (the kernel's short name when the executable cannot
// be read). Only TH32CS_SNAPPROCESS is supported; the process id argument is ignored, as it is
// for process snapshots on Windows.
HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId);
// Both fail when the entry's dwSize is smaller than the record, and at the end of the snapshot.
BOOL Process32First(HANDLE snapshot, PROCESSENTRY32* entry);
BOOL Process32Next(HANDLE snapshot, PROCESSENTRY32* entry);
BOOL CloseHandle(HANDLE handle);

DWORD GetCurrentProcessId();

// Lookup of the process functions by name, as callers do at first use on Windows:
// GetModuleHandleA("kernel32.dll") and GetProcAddress of "CreateToolhelp32Snapshot",
// "Process32First" and "Process32Next". Other modules and names are not found (0, nullptr).
HMODULE GetModuleHandleA(const char* moduleName);
FARPROC GetProcAddress(HMODULE module, const char* procName);

using TCreateToolhelp32Snapshot = HANDLE (*)(DWORD, DWORD);
using TProcess32First = BOOL (*)(HANDLE, PROCESSENTRY32*);
using TProcess32Next = BOOL (*)(HANDLE, PROCESSENTRY32*);

}  // namespace pelmorix
