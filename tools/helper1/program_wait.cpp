#include "tools/helper1/program_wait.h"

#include <thread>

#include "platform/processes/process_image_path.h"
#include "platform/processes/process_snapshot.h"

namespace pelmorix {

bool IsProgramRunning(const std::string& fullPath) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  const DWORD self = GetCurrentProcessId();
  bool running = false;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more && !running;
       more = Process32Next(snapshot, &entry)) {
    // The snapshot only names the file; the full path tells two copies in two folders apart.
    running = entry.th32ProcessID != self && QueryProcessImagePath(entry.th32ProcessID) == fullPath;
  }
  CloseHandle(snapshot);
  return running;
}

bool WaitUntilProgramEnded(const std::string& fullPath, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (IsProgramRunning(fullPath)) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return true;
}

}  // namespace pelmorix
