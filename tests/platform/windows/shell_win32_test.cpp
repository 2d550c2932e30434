#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/files/files.h"
#include "platform/shell/system_shell.h"

namespace pelmorix {
namespace {

// Tests of several runs may share the folder.
std::string UniqueSuffix() {
  return std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

// The record argument_writer.exe leaves, once it is there (at most 20 s).
bool WaitForRecord(const std::string& path, std::string& record) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!FileExists(path)) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  record = text.str();
  return true;
}

TEST(ShellWin32, StartsAProgramInItsFolderWithItsParameters) {
  const std::string tests = FolderOf(GetModuleFileName());
  const std::string work = tests + "\\shell work " + UniqueSuffix();
  std::filesystem::create_directories(work);
  const std::string record = work + "\\record.txt";
  TSystemShell shell;
  const std::string program = "\"" + tests + "\\argument_writer.exe\"";
  const int answer = shell.ShellExecuteA(0, "open", program.c_str(),
                                         "record.txt /101 \"two words\"", work.c_str(), SW_HIDE);
  EXPECT_GT(answer, 32);
  std::string text;
  ASSERT_TRUE(WaitForRecord(record, text));
  EXPECT_EQ(text, work + "\n/101\ntwo words\n");
  // The folder is in use until the program has ended.
  std::error_code failure;
  for (int i = 0; i < 200 && std::filesystem::remove_all(work, failure) == ~std::uintmax_t{0};
       ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

TEST(ShellWin32, AnswersTwoForAMissingFileAndAFailureForAMissingFolder) {
  const std::string tests = FolderOf(GetModuleFileName());
  TSystemShell shell;
  EXPECT_EQ(shell.ShellExecuteA(0, "", (tests + "\\no-such-program.exe").c_str(), "", "", SW_SHOW),
            SE_ERR_FNF);
  // Windows answers 3 (SE_ERR_PNF) for a folder of the path that is not there; wine 8 answers
  // 2 for it as for a missing file.
  const int answer = shell.ShellExecuteA(0, nullptr, (tests + "\\no-such-folder\\game.exe").c_str(),
                                         nullptr, nullptr, SW_SHOW);
  EXPECT_TRUE(answer == SE_ERR_PNF || answer == SE_ERR_FNF) << answer;
}

}  // namespace
}  // namespace pelmorix
