#include "platform/processes/process_snapshot.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "base/text.h"

namespace pelmorix {
namespace {

constexpr uint32_t kSnapshotTag = 0x534E4150;  // marks live snapshot objects
constexpr int32_t kNormalPriority = 8;

struct TSnapshotEntry {
  DWORD ProcessId;
  DWORD ParentId;
  DWORD Threads;
  std::string ExeFile;
};

struct TProcessSnapshot {
  uint32_t Tag = kSnapshotTag;
  std::vector<TSnapshotEntry> Entries;
  size_t Next = 0;
};

TProcessSnapshot* SnapshotOf(HANDLE handle) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return nullptr;
  auto* snapshot = static_cast<TProcessSnapshot*>(handle);
  return snapshot->Tag == kSnapshotTag ? snapshot : nullptr;
}

std::string FileNameOf(std::string path) {
  const std::string deleted = " (deleted)";
  if (path.size() > deleted.size() &&
      path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0) {
    path.resize(path.size() - deleted.size());
  }
  return path.substr(path.rfind('/') + 1);
}

// Reads /proc/<pid>/stat: the short name between the parentheses, then the fields after them.
bool ReadStat(const std::string& folder, TSnapshotEntry& entry, std::string& shortName) {
  std::ifstream file(folder + "/stat");
  std::string line;
  if (!std::getline(file, line)) return false;
  const size_t open = line.find('('), close = line.rfind(')');
  if (open == std::string::npos || close == std::string::npos || close < open) return false;
  shortName = line.substr(open + 1, close - open - 1);
  std::istringstream fields(line.substr(close + 1));
  std::vector<std::string> values;
  for (std::string value; fields >> value;) values.push_back(value);
  // After the name: state, ppid, ..., num_threads is the 18th.
  if (values.size() < 18) return false;
  entry.ParentId = static_cast<DWORD>(std::stoul(values[1]));
  entry.Threads = static_cast<DWORD>(std::stoul(values[17]));
  return true;
}

bool ReadProcess(DWORD pid, TSnapshotEntry& entry) {
  const std::string folder = "/proc/" + std::to_string(pid);
  entry.ProcessId = pid;
  std::string shortName;
  if (!ReadStat(folder, entry, shortName)) return false;
  char target[4096];
  const ssize_t length = readlink((folder + "/exe").c_str(), target, sizeof target - 1);
  const std::string name =
      length > 0 ? FileNameOf(std::string(target, static_cast<size_t>(length))) : shortName;
  entry.ExeFile = Utf8ToCp1252(name).substr(0, MAX_PATH - 1);
  return true;
}

std::vector<TSnapshotEntry> ReadProcesses() {
  std::vector<TSnapshotEntry> entries;
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return entries;
  std::vector<DWORD> ids;
  while (const dirent* item = readdir(proc)) {
    const std::string name = item->d_name;
    if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos) {
      ids.push_back(static_cast<DWORD>(std::stoul(name)));
    }
  }
  closedir(proc);
  std::sort(ids.begin(), ids.end());
  for (const DWORD pid : ids) {
    TSnapshotEntry entry;
    if (ReadProcess(pid, entry)) entries.push_back(std::move(entry));  // gone meanwhile: skip
  }
  return entries;
}

BOOL FillEntry(HANDLE handle, PROCESSENTRY32* entry, bool first) {
  TProcessSnapshot* snapshot = SnapshotOf(handle);
  if (snapshot == nullptr || entry == nullptr || entry->dwSize < sizeof(PROCESSENTRY32)) {
    return 0;
  }
  if (first) snapshot->Next = 0;
  if (snapshot->Next >= snapshot->Entries.size()) return 0;
  const TSnapshotEntry& source = snapshot->Entries[snapshot->Next++];
  const DWORD size = entry->dwSize;
  std::memset(entry, 0, sizeof(PROCESSENTRY32));
  entry->dwSize = size;
  entry->th32ProcessID = source.ProcessId;
  entry->th32ParentProcessID = source.ParentId;
  entry->cntThreads = source.Threads;
  entry->pcPriClassBase = kNormalPriority;
  std::memcpy(entry->szExeFile, source.ExeFile.data(), source.ExeFile.size());
  return 1;
}

constexpr HMODULE kKernel32 = 0x7C800000;

}  // namespace

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD) {
  if ((flags & TH32CS_SNAPPROCESS) == 0) return INVALID_HANDLE_VALUE;
  auto* snapshot = new TProcessSnapshot;
  snapshot->Entries = ReadProcesses();
  return snapshot;
}

BOOL Process32First(HANDLE snapshot, PROCESSENTRY32* entry) {
  return FillEntry(snapshot, entry, true);
}

BOOL Process32Next(HANDLE snapshot, PROCESSENTRY32* entry) {
  return FillEntry(snapshot, entry, false);
}

BOOL CloseHandle(HANDLE handle) {
  TProcessSnapshot* snapshot = SnapshotOf(handle);
  if (snapshot == nullptr) return 0;
  snapshot->Tag = 0;
  delete snapshot;
  return 1;
}

DWORD GetCurrentProcessId() { return static_cast<DWORD>(getpid()); }

HMODULE GetModuleHandleA(const char* moduleName) {
  if (moduleName == nullptr) return 0;
  return SameText(moduleName, "kernel32.dll") || SameText(moduleName, "kernel32") ? kKernel32 : 0;
}

FARPROC GetProcAddress(HMODULE module, const char* procName) {
  if (module != kKernel32 || procName == nullptr) return nullptr;
  const std::string name = procName;
  if (name == "CreateToolhelp32Snapshot")
    return reinterpret_cast<FARPROC>(&CreateToolhelp32Snapshot);
  if (name == "Process32First") return reinterpret_cast<FARPROC>(&Process32First);
  if (name == "Process32Next") return reinterpret_cast<FARPROC>(&Process32Next);
  return nullptr;
}

}  // namespace pelmorix
