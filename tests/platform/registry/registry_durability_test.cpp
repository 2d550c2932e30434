#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "platform/registry/registry_api.h"
#include "tests/support/temp_folder.h"

namespace pelmorix {
namespace {

constexpr const char* kKey = "SOFTWARE\\durability";

// Runs in a forked writer: stores count values "<prefix><i>" = "<i>" one call each, and writes
// each finished index to the report pipe (when given). Exits 0 when every write succeeded.
[[noreturn]] void WriteValues(const std::string& folder, const std::string& prefix, int count,
                              size_t padding, int report) {
  TRegistryApi registry(folder);
  HKEY key = 0;
  if (registry.RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                               &key, nullptr) != ERROR_SUCCESS) {
    _exit(2);
  }
  for (int i = 0; i < count; ++i) {
    const std::string name = prefix + std::to_string(i);
    const std::string data = std::to_string(i) + std::string(padding, 'x') + '\0';
    if (registry.RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(data.data()),
                                static_cast<DWORD>(data.size())) != ERROR_SUCCESS) {
      _exit(3);
    }
    if (report >= 0 && write(report, &i, sizeof i) != sizeof i) _exit(4);
  }
  _exit(0);
}

pid_t StartWriter(const std::string& folder, const std::string& prefix, int count, size_t padding,
                  int report) {
  const pid_t pid = fork();
  if (pid == 0) WriteValues(folder, prefix, count, padding, report);
  return pid;
}

int ExitCodeOf(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(RegistryDurability, TwoProcessesWritingAtOnceLoseNothing) {
  TTempFolder folder;
  const pid_t first = StartWriter(folder.Path(), "first", 500, 0, -1);
  const pid_t second = StartWriter(folder.Path(), "second", 500, 0, -1);
  ASSERT_EQ(ExitCodeOf(first), 0);
  ASSERT_EQ(ExitCodeOf(second), 0);

  TRegistryHive hive;
  ASSERT_EQ(TRegistryFolder(folder.Path()).Load("HKEY_LOCAL_MACHINE", hive),
            TRegistryFolder::THiveState::Loaded);
  const TRegistryKey* key = hive.FindKey(kKey);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->Values.size(), 1000u);
  for (const std::string prefix : {"first", "second"}) {
    for (int i = 0; i < 500; ++i) {
      const TRegistryValue* value = key->FindValue(prefix + std::to_string(i));
      ASSERT_NE(value, nullptr) << prefix << i;
      EXPECT_EQ(value->Data, std::to_string(i) + '\0');
    }
  }
}

TEST(RegistryDurability, WriterKilledMidWriteLeavesAFileThatParses) {
  TTempFolder folder;
  std::mt19937 random(12345);
  int confirmed = 0;  // values whose write returned before the kill, over all rounds
  for (int round = 0; round < 12; ++round) {
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    // Large values make each write long, so that the kill lands inside one.
    const pid_t writer = StartWriter(folder.Path(), "round" + std::to_string(round) + "_", 1000000,
                                     20000, report[1]);
    close(report[1]);
    int index = -1, last = -1;
    while (last < 2 && read(report[0], &index, sizeof index) == sizeof index) last = index;
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
    kill(writer, SIGKILL);
    while (read(report[0], &index, sizeof index) == sizeof index) last = index;
    close(report[0]);
    int status = 0;
    waitpid(writer, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended before it was killed";

    TRegistryHive hive;
    ASSERT_EQ(TRegistryFolder(folder.Path()).Load("HKEY_LOCAL_MACHINE", hive),
              TRegistryFolder::THiveState::Loaded)
        << "round " << round;
    const TRegistryKey* key = hive.FindKey(kKey);
    ASSERT_NE(key, nullptr);
    for (int i = 0; i <= last; ++i) {
      ASSERT_NE(key->FindValue("round" + std::to_string(round) + "_" + std::to_string(i)), nullptr)
          << "round " << round << " lost value " << i;
    }
    confirmed += last + 1;
  }
  EXPECT_GT(confirmed, 0);

  // The next write clears the temporary files that the killed writers left behind.
  ASSERT_EQ(ExitCodeOf(StartWriter(folder.Path(), "after", 1, 0, -1)), 0);
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
    EXPECT_EQ(entry.path().filename(), "HKEY_LOCAL_MACHINE.reg");
  }
}

}  // namespace
}  // namespace pelmorix
