#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/files/files.h"
#include "platform/processes/process_image_path.h"
#include "tests/support/message_box_answerer.h"
// After the interfaces: the system's macros must not rewrite their declarations.
#include <windows.h>
// The system names its own function so; the interface's is meant below.
#undef GetModuleFileName

namespace pelmorix {
namespace {

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

std::string Read(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// A started program; it is ended when the object goes, should a test fail before it ends.
class TStartedProgram {
 public:
  TStartedProgram(const std::string& program, const std::string& commandLine,
                  const std::string& folder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string line = commandLine;
    started_ = ::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                folder.c_str(), &startup, &process_) != 0;
    if (started_) ::CloseHandle(process_.hThread);
  }
  ~TStartedProgram() {
    if (!started_) return;
    if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(process_.hProcess, 1);
    }
    ::CloseHandle(process_.hProcess);
  }
  bool Started() const { return started_; }
  DWORD Id() const { return process_.dwProcessId; }
  // The exit code once it has ended within the time; STILL_ACTIVE when it runs on.
  DWORD ExitCodeWithin(DWORD milliseconds) const {
    ::DWORD code = STILL_ACTIVE;
    if (::WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0) {
      ::GetExitCodeProcess(process_.hProcess, &code);
    }
    return code;
  }

 private:
  bool started_ = false;
  PROCESS_INFORMATION process_{};
};

class Helper1Win32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateDir(folder_));
    ASSERT_NE(::CopyFileA((tests_ + "\\helper1_sleeper.exe").c_str(), target_.c_str(), TRUE), 0);
    std::ofstream(source_, std::ios::binary) << "the new launcher";
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // The launcher about to close: the sleeper under the target's name, running for ms.
  bool RunTarget(TStartedProgram& target) {
    if (!target.Started()) return false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (QueryProcessImagePath(target.Id()).empty()) {
      if (std::chrono::steady_clock::now() > end) return false;
      ::Sleep(10);
    }
    return true;
  }

  const std::string tests_ = FolderOf(GetModuleFileName());
  const std::string helper1_ = FolderOf(tests_) + "\\bin\\Helper1.exe";
  const std::string folder_ =
      tests_ + "\\helper1 " +
      std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
  const std::string target_ = folder_ + "\\Pelmorix.exe";
  const std::string source_ = folder_ + "\\temp-Pelmorix.exe";
};

TEST_F(Helper1Win32Test, ReplacesTheTargetOnceItsProcessHasEnded) {
  TStartedProgram target(target_, "Pelmorix.exe 1500", folder_);
  ASSERT_TRUE(RunTarget(target));
  TStartedProgram helper1(helper1_, "Helper1.exe /temp-Pelmorix.exe /Pelmorix.exe /101", folder_);
  ASSERT_TRUE(helper1.Started());
  // While the target runs, Helper1 waits and the old program stays.
  EXPECT_EQ(helper1.ExitCodeWithin(500), STILL_ACTIVE);
  EXPECT_NE(Read(target_), "the new launcher");
  EXPECT_EQ(helper1.ExitCodeWithin(30000), 0u);
  EXPECT_EQ(target.ExitCodeWithin(0), 0u);  // it had ended
  EXPECT_EQ(Read(target_), "the new launcher");
  EXPECT_FALSE(FileExists(source_));
}

TEST_F(Helper1Win32Test, ATargetHeldOpenForAMomentIsReplacedOnceReleased) {
  // As a virus scanner or an indexer holds a new executable: open, without leave to delete it.
  HANDLE reader = ::CreateFileA(target_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  TStartedProgram helper1(helper1_, "Helper1.exe /temp-Pelmorix.exe /Pelmorix.exe /101", folder_);
  ASSERT_TRUE(helper1.Started());
  EXPECT_EQ(helper1.ExitCodeWithin(1000), STILL_ACTIVE);
  ::CloseHandle(reader);
  EXPECT_EQ(helper1.ExitCodeWithin(30000), 0u);
  EXPECT_EQ(Read(target_), "the new launcher");
}

TEST_F(Helper1Win32Test, GivesUpAfterItsWaitAndLeavesBothFiles) {
  TStartedProgram target(target_, "Pelmorix.exe 20000", folder_);
  ASSERT_TRUE(RunTarget(target));
  const std::string old = Read(target_);
  ASSERT_NE(::SetEnvironmentVariableA("PELMORIX_HELPER1_WAIT_MS", "300"), 0);
  // The failure is shown in a box that waits for its answer; Helper1 ends once it is given.
  test::TBoxAnswerer answerer("Helper1", IDOK);
  TStartedProgram helper1(helper1_, "Helper1.exe /temp-Pelmorix.exe /Pelmorix.exe /101", folder_);
  ::SetEnvironmentVariableA("PELMORIX_HELPER1_WAIT_MS", nullptr);
  ASSERT_TRUE(answerer.Result().Found)
      << "no box \"Helper1\" within 20 s; Helper1 "
      << (helper1.ExitCodeWithin(0) == STILL_ACTIVE
              ? std::string("still runs")
              : "ended with " + std::to_string(helper1.ExitCodeWithin(0)))
      << "; visible windows: " << answerer.Result().Seen;
  EXPECT_NE(answerer.Result().Text.find("is still running after 300 ms"), std::string::npos)
      << answerer.Result().Text;
  EXPECT_TRUE(answerer.Result().HasIcon);
  EXPECT_EQ(helper1.ExitCodeWithin(30000), 1u);
  EXPECT_EQ(target.ExitCodeWithin(0), STILL_ACTIVE);
  EXPECT_EQ(Read(target_), old);
  EXPECT_EQ(Read(source_), "the new launcher");
}

}  // namespace
}  // namespace pelmorix
