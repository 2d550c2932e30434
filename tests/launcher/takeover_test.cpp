// The takeover of an older running copy against a made-up desktop.
#include "launcher/takeover.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/shell/recording_shell.h"

namespace pelmorix {
namespace {

struct FakeProcess {
  DWORD id;
  const char* exe;
};
struct FakeWindow {
  HWND handle;
  DWORD owner;
  bool visible, iconic;
};

// The desktop the fake calls answer from; each test sets it up first.
struct FakeDesktop {
  std::vector<FakeProcess> processes;
  std::vector<FakeWindow> windows;  // topmost first
  std::vector<HWND> closed;
  bool lookupFails = false;
  size_t next = 0;
};
FakeDesktop desktop;

HANDLE FakeSnapshot(DWORD flags, DWORD) {
  EXPECT_EQ(flags, TH32CS_SNAPPROCESS);
  desktop.next = 0;
  return &desktop;
}
BOOL FakeNext(HANDLE, PROCESSENTRY32* entry) {
  EXPECT_EQ(entry->dwSize, 296u);
  if (desktop.next >= desktop.processes.size()) return 0;
  const FakeProcess& p = desktop.processes[desktop.next++];
  entry->th32ProcessID = p.id;
  std::strncpy(entry->szExeFile, p.exe, sizeof(entry->szExeFile) - 1);
  return 1;
}
BOOL FakeFirst(HANDLE snapshot, PROCESSENTRY32* entry) {
  desktop.next = 0;
  return FakeNext(snapshot, entry);
}

TProcessServices FakeServices() {
  TProcessServices s = TProcessServices::System();
  s.GetModuleHandleA = [](const char*) -> HMODULE { return 1; };
  s.GetProcAddress = [](HMODULE, const char* name) -> FARPROC {
    if (desktop.lookupFails) return nullptr;
    if (std::strcmp(name, "CreateToolhelp32Snapshot") == 0)
      return reinterpret_cast<FARPROC>(FakeSnapshot);
    if (std::strcmp(name, "Process32First") == 0) return reinterpret_cast<FARPROC>(FakeFirst);
    if (std::strcmp(name, "Process32Next") == 0) return reinterpret_cast<FARPROC>(FakeNext);
    return nullptr;
  };
  s.CloseHandle = [](HANDLE) -> BOOL { return 1; };
  s.GetCurrentProcessId = []() -> DWORD { return 50; };
  s.EnumWindows = [](WNDENUMPROC callback, LPARAM param) -> BOOL {
    for (const FakeWindow& w : desktop.windows) {
      if (!callback(w.handle, param)) break;
    }
    return 1;
  };
  s.GetWindowThreadProcessId = [](HWND window, DWORD* owner) -> DWORD {
    for (const FakeWindow& w : desktop.windows) {
      if (w.handle == window) *owner = w.owner;
    }
    return 1;
  };
  s.IsWindowVisible = [](HWND window) -> BOOL {
    for (const FakeWindow& w : desktop.windows) {
      if (w.handle == window) return w.visible;
    }
    return 0;
  };
  s.IsIconic = [](HWND window) -> BOOL {
    for (const FakeWindow& w : desktop.windows) {
      if (w.handle == window) return w.iconic;
    }
    return 0;
  };
  s.PostMessageA = [](HWND window, UINT message, WPARAM w, LPARAM l) -> BOOL {
    EXPECT_EQ((std::tuple{message, w, l}), (std::tuple{WM_CLOSE, WPARAM{0}, LPARAM{0}}));
    desktop.closed.push_back(window);
    return 1;
  };
  return s;
}

class TakeoverTest : public ::testing::Test {
 protected:
  void SetUp() override { desktop = FakeDesktop{}; }
  void Run(const std::string& exePath = "/opt/games/Pelmorix.exe") {
    TLauncherEnvironment environment{registry, shell, {}, exePath, ""};
    environment.Processes = FakeServices();
    TakeOverInstance(environment);
  }
  TRegistryApi registry{"/nonexistent-registry"};
  TRecordingShell shell;
};

TEST_F(TakeoverTest, ClosesTheFirstShownWindowOfTheLastMatchingProcess) {
  desktop.processes = {
      {10, "Pelmorix.exe"}, {50, "Pelmorix.exe"}, {20, "pelmorix_.EXE"}, {30, "Pelmorix2.exe"}};
  desktop.windows = {{0x1, 20, false, false},
                     {0x2, 10, true, false},
                     {0x3, 20, false, true},
                     {0x4, 20, true, false}};
  Run();
  // Process 20 came last (50 is this one); its hidden window 0x1 is skipped, the minimised
  // 0x3 is the first that counts, and 0x4 is left alone.
  EXPECT_EQ(desktop.closed, (std::vector<HWND>{0x3}));
}

TEST_F(TakeoverTest, NothingHappensWithoutAMatchOrAWindow) {
  desktop.processes = {{30, "Pelmorix2.exe"}, {50, "Pelmorix.exe"}};
  desktop.windows = {{0x1, 30, true, false}};
  Run();
  EXPECT_TRUE(desktop.closed.empty());
  desktop.processes = {{31, "C:\\Spiele\\PELMORIX.EXE"}};
  desktop.windows = {{0x1, 31, false, false}};
  Run();
  EXPECT_TRUE(desktop.closed.empty());
  desktop.lookupFails = true;
  desktop.windows = {{0x1, 31, true, false}};
  Run();
  EXPECT_TRUE(desktop.closed.empty());
}

TEST_F(TakeoverTest, TheUnderscoreFormOfTheOwnNameMatchesToo) {
  desktop.processes = {{40, "Pelmorix.exe"}};
  desktop.windows = {{0x9, 40, true, false}};
  Run("/opt/games/Pelmorix_.exe");
  EXPECT_EQ(desktop.closed, (std::vector<HWND>{0x9}));
  EXPECT_EQ(FindProcessWindow(FakeServices(), 41), 0u);
}

}  // namespace
}  // namespace pelmorix
