#include "platform/processes/process_image_path.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/support/temp_folder.h"

namespace pelmorix {
namespace {

// Waits until the process runs the expected executable (its exec is through), or the time ends.
std::string WaitForImage(pid_t pid, const std::string& expected) {
  std::string seen;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  do {
    seen = QueryProcessImagePath(static_cast<DWORD>(pid));
    if (seen == expected) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  } while (std::chrono::steady_clock::now() < end);
  return seen;
}

TEST(ProcessImagePath, FullPathOfRunningReplacedAndEndedPrograms) {
  EXPECT_EQ(QueryProcessImagePath(static_cast<DWORD>(getpid())),
            std::filesystem::canonical("/proc/self/exe").string());

  TTempFolder folder;
  const std::string program = std::filesystem::canonical(folder.Path()).string() + "/Pelmorix.exe";
  CopyProgram("/bin/sleep", program);
  const pid_t child = fork();
  if (child == 0) {
    execl(program.c_str(), program.c_str(), "30", static_cast<char*>(nullptr));
    _exit(127);
  }
  EXPECT_EQ(WaitForImage(child, program), program);

  // Its file deleted under it, the program is still named by its path.
  std::filesystem::remove(program);
  EXPECT_EQ(QueryProcessImagePath(static_cast<DWORD>(child)), program);

  // Ended but not yet waited for (a zombie), and gone: no path.
  kill(child, SIGKILL);
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!QueryProcessImagePath(static_cast<DWORD>(child)).empty() &&
         std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(QueryProcessImagePath(static_cast<DWORD>(child)), "");
  waitpid(child, nullptr, 0);
  EXPECT_EQ(QueryProcessImagePath(static_cast<DWORD>(child)), "");
}

}  // namespace
}  // namespace pelmorix
