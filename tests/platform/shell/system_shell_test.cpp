#include "platform/shell/system_shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/support/argv_record.h"
#include "tests/support/temp_folder.h"

namespace pelmorix {
namespace {

using Args = std::vector<std::string>;

std::string WindowsForm(std::string path) {
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

class SystemShellTest : public ::testing::Test {
 protected:
  // A copy of the argv recorder at folder_/name.
  std::string Recorder(const std::string& name) {
    const std::string path = folder_ / name;
    CopyProgram(PELMORIX_ARGV_RECORDER, path);
    return path;
  }

  int Execute(const char* operation, const std::string& file, const std::string& parameters,
              const std::string& directory) {
    return shell_.ShellExecuteA(0, operation, file.c_str(), parameters.c_str(), directory.c_str(),
                                SW_SHOW);
  }

  TTempFolder folder_;
  TSystemShell shell_{folder_ / "launcher", folder_ / "opener"};
};

TEST_F(SystemShellTest, StartsAQuotedProgramWithItsParametersAndWorkingDirectory) {
  const std::string program = Recorder("My Games/Tarnovia/game.exe");
  std::filesystem::create_directories(folder_ / "work dir");
  const int answer =
      Execute("", "\"" + WindowsForm(program) + "\"", "/3 \"two words\" a\\\"b \"\" C:\\x\\y",
              WindowsForm(folder_ / "work dir"));
  EXPECT_GT(answer, 32);
  TArgvRecord record;
  ASSERT_TRUE(WaitForArgvRecord(program, record));
  EXPECT_EQ(record.WorkingDirectory, folder_ / "work dir");
  EXPECT_EQ(record.Arguments, (Args{"/3", "two words", "a\"b", "", "C:\\x\\y"}));

  // Without a working directory the program starts in the current one.
  const std::string second = Recorder("second.exe");
  EXPECT_GT(shell_.ShellExecuteA(0, nullptr, second.c_str(), nullptr, nullptr, SW_SHOW), 32);
  ASSERT_TRUE(WaitForArgvRecord(second, record));
  EXPECT_EQ(record.WorkingDirectory, std::filesystem::current_path().string());
  EXPECT_EQ(record.Arguments, Args{});
}

TEST_F(SystemShellTest, ReportsEachKindOfFailure) {
  EXPECT_EQ(Execute("", folder_ / "missing.exe", "", ""), SE_ERR_FNF);
  EXPECT_EQ(Execute("", "\"" + WindowsForm(folder_ / "no folder/game.exe") + "\"", "", ""),
            SE_ERR_PNF);
  EXPECT_EQ(Execute("", "", "", ""), SE_ERR_FNF);

  const std::string plain = Recorder("plain.exe");
  chmod(plain.c_str(), 0644);
  EXPECT_EQ(Execute("", plain, "", ""), SE_ERR_ACCESSDENIED);

  const std::string text = folder_ / "text.exe";
  WriteTextFile(text, "this is no program\n");
  chmod(text.c_str(), 0755);
  EXPECT_EQ(Execute("", text, "", ""), ERROR_BAD_FORMAT);

  const std::string program = Recorder("game.exe");
  EXPECT_EQ(Execute("", program, "", folder_ / "no such dir"), SE_ERR_PNF);
  EXPECT_EQ(Execute("print", program, "", ""), SE_ERR_NOASSOC);
  // Nothing of the failed starts ran.
  TArgvRecord record;
  EXPECT_FALSE(WaitForArgvRecord(program, record, std::chrono::milliseconds(200)));
  EXPECT_FALSE(WaitForArgvRecord(plain, record, std::chrono::milliseconds(0)));
}

TEST_F(SystemShellTest, LooksUpRelativeProgramsInCurrentDirectoryThenProgramFolderThenPath) {
  const std::string inCurrent = Recorder("current/tool.exe");
  const std::string inLauncher = Recorder("launcher/tool.exe");
  const std::string onlyLauncher = Recorder("launcher/Helper1.exe");
  const std::string onlyPath = Recorder("path/onpath.exe");
  const std::string nested = Recorder("current/temp/setup.exe");
  TCurrentDirectory current(folder_ / "current");
  const std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
  setenv("PATH", ((folder_ / "path") + ":" + oldPath).c_str(), 1);

  EXPECT_GT(Execute("", "tool.exe", "cwd", ""), 32);
  EXPECT_GT(Execute("open", "\"Helper1.exe\"", "/temp\\new.exe /Pelmorix.exe /101", ""), 32);
  EXPECT_GT(Execute("", "onpath.exe", "", ""), 32);
  EXPECT_GT(Execute("", "temp\\setup.exe", "", folder_.Path()), 32);
  EXPECT_EQ(Execute("", "nowhere.exe", "", ""), SE_ERR_FNF);
  setenv("PATH", oldPath.c_str(), 1);

  TArgvRecord record;
  ASSERT_TRUE(WaitForArgvRecord(inCurrent, record));
  EXPECT_EQ(record.Arguments, Args{"cwd"});
  ASSERT_TRUE(WaitForArgvRecord(onlyLauncher, record));
  EXPECT_EQ(record.Arguments, (Args{"/temp\\new.exe", "/Pelmorix.exe", "/101"}));
  EXPECT_TRUE(WaitForArgvRecord(onlyPath, record));
  // A relative path is resolved before the working directory changes.
  ASSERT_TRUE(WaitForArgvRecord(nested, record));
  EXPECT_EQ(record.WorkingDirectory, folder_.Path());
  EXPECT_FALSE(WaitForArgvRecord(inLauncher, record, std::chrono::milliseconds(200)));
}

TEST_F(SystemShellTest, WebAddressesAndExplorerGoToTheUrlOpener) {
  TSystemShell noOpener(folder_.Path(), folder_ / "missing-opener");
  EXPECT_EQ(noOpener.ShellExecuteA(0, "open", "http://127.0.0.1/x", "", "", SW_SHOW),
            SE_ERR_NOASSOC);

  const std::string opener = Recorder("opener");
  EXPECT_GT(Execute("open", "http://127.0.0.1:9/patch?id=101&a=b", "", ""), 32);
  TArgvRecord record;
  ASSERT_TRUE(WaitForArgvRecord(opener, record));
  EXPECT_EQ(record.Arguments, Args{"http://127.0.0.1:9/patch?id=101&a=b"});

  std::filesystem::remove(opener + ".record");
  EXPECT_GT(Execute("open", "explorer",
                    "\"http://127.0.0.1/index.php?action=getdllink&param1=&param2=101\"", ""),
            32);
  ASSERT_TRUE(WaitForArgvRecord(opener, record));
  EXPECT_EQ(record.Arguments,
            Args{"http://127.0.0.1/index.php?action=getdllink&param1=&param2=101"});
  EXPECT_EQ(Execute("open", "explorer", "", ""), SE_ERR_NOASSOC);
}

TEST_F(SystemShellTest, StartedProgramOutlivesTheProcessThatStartedIt) {
  const std::string program = Recorder("late.exe");
  // A stand-in launcher: starts the program, which waits before it records, and ends at once.
  const pid_t launcher = fork();
  if (launcher == 0) {
    setenv("PELMORIX_RECORDER_DELAY_MS", "500", 1);
    const int answer = shell_.ShellExecuteA(0, "", program.c_str(), "alive", "", SW_SHOW);
    _exit(answer > 32 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(launcher, &status, 0), launcher);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  TArgvRecord record;
  EXPECT_FALSE(WaitForArgvRecord(program, record, std::chrono::milliseconds(0)));
  ASSERT_TRUE(WaitForArgvRecord(program, record));
  EXPECT_EQ(record.Arguments, Args{"alive"});
}

}  // namespace
}  // namespace pelmorix
