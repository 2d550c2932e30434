#include "platform/processes/process_snapshot.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "tests/support/temp_folder.h"

namespace pelmorix {
namespace {

struct TFound {
  bool Found = false;
  PROCESSENTRY32 Entry{};
};

// Walks a snapshot through the functions looked up by name, as the launcher does.
TFound FindInSnapshot(DWORD pid) {
  const HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
  auto create = reinterpret_cast<TCreateToolhelp32Snapshot>(
      GetProcAddress(kernel, "CreateToolhelp32Snapshot"));
  auto first = reinterpret_cast<TProcess32First>(GetProcAddress(kernel, "Process32First"));
  auto next = reinterpret_cast<TProcess32Next>(GetProcAddress(kernel, "Process32Next"));
  TFound result;
  if (create == nullptr || first == nullptr || next == nullptr) return result;
  const HANDLE snapshot = create(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = 296;
  for (BOOL more = first(snapshot, &entry); more; more = next(snapshot, &entry)) {
    if (entry.th32ProcessID == pid) result = {true, entry};
  }
  CloseHandle(snapshot);
  return result;
}

TEST(ProcessSnapshot, FindsTheTestsOwnChildByName) {
  TTempFolder folder;
  const std::string program = folder / "Pelmorix_.exe";
  CopyProgram("/bin/sleep", program);
  const pid_t child = fork();
  if (child == 0) {
    execl(program.c_str(), program.c_str(), "30", static_cast<char*>(nullptr));
    _exit(127);
  }
  // The child shows the new name once its exec is through.
  TFound found;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < end) {
    found = FindInSnapshot(static_cast<DWORD>(child));
    if (found.Found && std::string(found.Entry.szExeFile) == "Pelmorix_.exe") break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  ASSERT_TRUE(found.Found);
  EXPECT_STREQ(found.Entry.szExeFile, "Pelmorix_.exe");
  EXPECT_EQ(found.Entry.th32ParentProcessID, GetCurrentProcessId());
  EXPECT_EQ(found.Entry.dwSize, 296u);
  EXPECT_GE(found.Entry.cntThreads, 1u);

  // The test itself is in the snapshot under its executable's name.
  const TFound self = FindInSnapshot(GetCurrentProcessId());
  ASSERT_TRUE(self.Found);
  EXPECT_STREQ(self.Entry.szExeFile, "processes_tests");
}

TEST(ProcessSnapshot, RefusesWhatWindowsRefuses) {
  EXPECT_EQ(GetModuleHandleA("user32.dll"), 0u);
  EXPECT_EQ(GetProcAddress(GetModuleHandleA("kernel32.dll"), "Process32FirstW"), nullptr);
  EXPECT_EQ(CreateToolhelp32Snapshot(0, 0), INVALID_HANDLE_VALUE);

  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
  PROCESSENTRY32 entry{};
  entry.dwSize = 100;  // a record size that is too small
  EXPECT_FALSE(Process32First(snapshot, &entry));
  EXPECT_FALSE(Process32First(INVALID_HANDLE_VALUE, &entry));
  entry.dwSize = sizeof entry;
  ASSERT_TRUE(Process32First(snapshot, &entry));
  int count = 1;
  while (Process32Next(snapshot, &entry)) ++count;
  EXPECT_FALSE(Process32Next(snapshot, &entry));  // stays at the end
  EXPECT_GE(count, 2);
  EXPECT_TRUE(CloseHandle(snapshot));
}

}  // namespace
}  // namespace pelmorix
