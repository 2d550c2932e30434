#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/processes/process_image_path.h"
#include "platform/shell/command_line.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_folder.h"

namespace pelmorix {
namespace {

const std::string kHelper1 = PELMORIX_BIN_DIR "/Helper1.exe";

// A running copy of sleep under the given path, as the launcher that is about to close.
class TRunningCopy {
 public:
  TRunningCopy(const std::string& path, const std::string& seconds) {
    CopyProgram("/bin/sleep", path);
    const std::string full = std::filesystem::canonical(path).string();
    pid_ = fork();
    if (pid_ == 0) {
      execl(full.c_str(), full.c_str(), seconds.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    // Running as the copy only once its exec is through.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (QueryProcessImagePath(static_cast<DWORD>(pid_)) != full &&
           std::chrono::steady_clock::now() < end) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    running_ = QueryProcessImagePath(static_cast<DWORD>(pid_)) == full;
  }
  ~TRunningCopy() {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  bool Running() const { return running_; }
  // Whether it has ended (it is not waited for, so it stays a zombie until destruction).
  bool Ended() const {
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == pid_;
  }

 private:
  pid_t pid_ = -1;
  bool running_ = false;
};

TProgramResult Helper1(const std::vector<std::string>& arguments, const std::string& waitMs = "") {
  std::vector<std::string> argv{kHelper1};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  // No display: a failure is reported on the error output alone, not in a box that waits.
  std::vector<std::pair<std::string, std::string>> env{{"DISPLAY", ""}};
  if (!waitMs.empty()) env.emplace_back("PELMORIX_HELPER1_WAIT_MS", waitMs);
  return RunProgram(argv, env);
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(Helper1, WaitsForTheRunningTargetToEndThenReplacesIt) {
  TTempFolder folder;
  TCurrentDirectory current(folder.Path());
  std::filesystem::create_directory(folder / "temp");
  WriteTextFile(folder / "temp/new.exe", "the new launcher");
  // A program of the same name in another folder is not the target and does not hold it up.
  TRunningCopy elsewhere(folder / "other/Pelmorix.exe", "60");
  TRunningCopy target(folder / "Pelmorix.exe", "3");
  ASSERT_TRUE(elsewhere.Running());
  ASSERT_TRUE(target.Running());

  const TProgramResult result = Helper1({"/temp\\new.exe", "/Pelmorix.exe", "/101"});
  EXPECT_EQ(result.ExitCode, 0) << result.Err;
  EXPECT_EQ(result.Err, "");
  EXPECT_TRUE(target.Ended()) << "Helper1 returned while the target still ran";
  EXPECT_FALSE(elsewhere.Ended());
  EXPECT_EQ(ReadTextFile(folder / "Pelmorix.exe"), "the new launcher");
  EXPECT_EQ(ModeOf(folder / "Pelmorix.exe"), 0755u);  // still executable
  EXPECT_FALSE(std::filesystem::exists(folder / "temp/new.exe"));
}

TEST(Helper1, ReadsPathsWithBlanksAsTheLauncherPassesThem) {
  TTempFolder folder;
  TCurrentDirectory current(folder.Path());
  std::filesystem::create_directories(folder / "temp/neue Dateien");
  WriteTextFile(folder / "temp/neue Dateien/new launcher.exe", "the new launcher");
  const std::string target = folder / "Program Files/Tarnovia Karten/Pelmorix.exe";
  TRunningCopy running(target, "2");
  ASSERT_TRUE(running.Running());

  // The launcher's parameter text, unquoted, split at blanks on its way through the shell.
  const TProgramResult result =
      Helper1(SplitCommandLine("/temp\\neue Dateien\\new launcher.exe /" + target + " /101"));
  EXPECT_EQ(result.ExitCode, 0) << result.Err;
  EXPECT_TRUE(running.Ended());
  EXPECT_EQ(ReadTextFile(target), "the new launcher");
  EXPECT_FALSE(std::filesystem::exists(folder / "temp/neue Dateien/new launcher.exe"));
}

TEST(Helper1, GivesUpAfterItsWaitAndLeavesBothFiles) {
  TTempFolder folder;
  TCurrentDirectory current(folder.Path());
  std::filesystem::create_directory(folder / "temp");
  WriteTextFile(folder / "temp/new.exe", "the new launcher");
  TRunningCopy target(folder / "Pelmorix.exe", "120");
  ASSERT_TRUE(target.Running());
  const std::string old = ReadTextFile(folder / "Pelmorix.exe");

  const TProgramResult result = Helper1({"/temp\\new.exe", "/Pelmorix.exe", "/101"}, "1500");
  EXPECT_EQ(result.ExitCode, 1);
  EXPECT_NE(result.Err.find("Pelmorix.exe is still running after 1500 ms"), std::string::npos)
      << result.Err;
  EXPECT_FALSE(target.Ended());
  EXPECT_EQ(ReadTextFile(folder / "Pelmorix.exe"), old);
  EXPECT_EQ(ReadTextFile(folder / "temp/new.exe"), "the new launcher");
}

TEST(Helper1, RelativeWindowsPathsAndFailuresThatLeaveTheTarget) {
  TTempFolder folder;
  TCurrentDirectory current(folder.Path());
  std::filesystem::create_directories(folder / "temp/patch");
  std::filesystem::create_directories(folder / "games/tarnovia");
  WriteTextFile(folder / "games/tarnovia/Pelmorix.exe", "old");
  chmod((folder / "games/tarnovia/Pelmorix.exe").c_str(), 0755);

  // A source that is not there: a message, and the target stays.
  TProgramResult result =
      Helper1({"/temp\\patch\\new.exe", "/games\\tarnovia\\Pelmorix.exe", "/101"});
  EXPECT_EQ(result.ExitCode, 1);
  EXPECT_NE(result.Err.find("temp\\patch\\new.exe does not exist"), std::string::npos)
      << result.Err;
  EXPECT_EQ(ReadTextFile(folder / "games/tarnovia/Pelmorix.exe"), "old");

  // A target that cannot be replaced (a folder of that name): the source stays.
  std::filesystem::create_directories(folder / "games/Pelmorix.exe");
  WriteTextFile(folder / "temp/patch/new.exe", "new");
  result = Helper1({"/temp\\patch\\new.exe", "/games\\Pelmorix.exe", "/101"});
  EXPECT_EQ(result.ExitCode, 1);
  EXPECT_NE(result.Err.find("could not be replaced"), std::string::npos) << result.Err;
  EXPECT_TRUE(std::filesystem::is_directory(folder / "games/Pelmorix.exe"));
  EXPECT_EQ(ReadTextFile(folder / "temp/patch/new.exe"), "new");

  // Both paths relative, with "\" between their parts, and nothing running the target.
  result = Helper1({"/temp\\patch\\new.exe", "/games\\tarnovia\\Pelmorix.exe", "/205"});
  EXPECT_EQ(result.ExitCode, 0) << result.Err;
  EXPECT_EQ(ReadTextFile(folder / "games/tarnovia/Pelmorix.exe"), "new");
  EXPECT_EQ(ModeOf(folder / "games/tarnovia/Pelmorix.exe"), 0755u);
}

TEST(Helper1, RefusesCommandLinesItCannotRead) {
  TTempFolder folder;
  TCurrentDirectory current(folder.Path());
  WriteTextFile(folder / "new.exe", "new");
  WriteTextFile(folder / "Pelmorix.exe", "old");
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{},
        {"/new.exe", "/Pelmorix.exe"},
        {"new.exe", "/Pelmorix.exe", "/101"},
        {"/new.exe", "/", "/101"},
        {"/new.exe", "/Pelmorix.exe", "/101", "/extra"}}) {
    const TProgramResult result = Helper1(arguments);
    EXPECT_EQ(result.ExitCode, 2);
    EXPECT_NE(result.Err.find("Usage: Helper1.exe /SOURCE /TARGET /ID"), std::string::npos);
  }
  const TProgramResult badWait = Helper1({"/new.exe", "/Pelmorix.exe", "/101"}, "soon");
  EXPECT_EQ(badWait.ExitCode, 2);
  EXPECT_NE(badWait.Err.find("PELMORIX_HELPER1_WAIT_MS"), std::string::npos);
  EXPECT_EQ(ReadTextFile(folder / "Pelmorix.exe"), "old");
  EXPECT_EQ(ReadTextFile(folder / "new.exe"), "new");
}

}  // namespace
}  // namespace pelmorix
