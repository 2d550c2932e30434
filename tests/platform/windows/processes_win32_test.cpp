#include <gtest/gtest.h>

#include <string>

#include "platform/files/files.h"
#include "platform/files/full_path.h"
#include "platform/processes/process_image_path.h"
#include "platform/processes/process_snapshot.h"

namespace pelmorix {
namespace {

std::string FileNameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

// Looked up by name, as the launcher finds them at first use.
TEST(ProcessesWin32, TheSnapshotFoundByNameHoldsThisProcess) {
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  ASSERT_NE(kernel, 0u);
  auto create = reinterpret_cast<TCreateToolhelp32Snapshot>(
      GetProcAddress(kernel, "CreateToolhelp32Snapshot"));
  auto first = reinterpret_cast<TProcess32First>(GetProcAddress(kernel, "Process32First"));
  auto next = reinterpret_cast<TProcess32Next>(GetProcAddress(kernel, "Process32Next"));
  ASSERT_TRUE(create != nullptr && first != nullptr && next != nullptr);
  EXPECT_EQ(GetProcAddress(kernel, "Process32FirstW"), nullptr);

  const HANDLE snapshot = create(TH32CS_SNAPPROCESS, 0);
  ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
  PROCESSENTRY32 entry{};
  entry.dwSize = 200;  // too small a record
  EXPECT_EQ(first(snapshot, &entry), 0);
  entry.dwSize = sizeof entry;
  const DWORD self = GetCurrentProcessId();
  int entries = 0;
  std::string ownName;
  for (BOOL more = first(snapshot, &entry); more; more = next(snapshot, &entry)) {
    ++entries;
    EXPECT_EQ(entry.dwSize, 296u);
    if (entry.th32ProcessID == self) ownName = entry.szExeFile;
  }
  EXPECT_EQ(CloseHandle(snapshot), 1);
  EXPECT_GT(entries, 1);  // wine's own services run beside it
  EXPECT_EQ(ownName, FileNameOf(GetModuleFileName()));
}

TEST(ProcessesWin32, TheImagePathOfThisProcessIsItsResolvedFullPath) {
  const std::string own = QueryProcessImagePath(GetCurrentProcessId());
  EXPECT_EQ(own, ResolvedFullPath(GetModuleFileName()));
  EXPECT_EQ(FileNameOf(own), FileNameOf(GetModuleFileName()));
  EXPECT_EQ(QueryProcessImagePath(0xFFFFFFF0u), "");
}

}  // namespace
}  // namespace pelmorix
