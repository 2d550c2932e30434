#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/files/files.h"
#include "platform/files/full_path.h"
#include "platform/files/replace_file.h"

namespace pelmorix {
namespace {

// Tests of several runs may share the folder.
std::string UniqueSuffix() {
  return std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
}

std::string Read(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

void Write(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The operations of a patch run and of Helper1 in one folder, with Windows paths.
TEST(FilesWin32, CreatesMovesReplacesAndDeletes) {
  const std::string exe = GetModuleFileName();
  ASSERT_GT(exe.size(), 4u);
  EXPECT_EQ(exe.substr(exe.size() - 4), ".exe");
  EXPECT_TRUE(FileExists(exe));
  const std::string folder = exe.substr(0, exe.rfind('\\')) + "\\files " + UniqueSuffix();
  ASSERT_TRUE(CreateDir(folder));
  EXPECT_FALSE(CreateDir(folder));
  EXPECT_TRUE(DirectoryExists(folder));
  EXPECT_FALSE(FileExists(folder));

  const std::string a = folder + "\\a.txt", b = folder + "\\b.txt";
  Write(a, "old");
  ASSERT_TRUE(CreateOrEmptyFile(a));
  EXPECT_EQ(Read(a), "");
  Write(a, "new");
  Write(b, "in the way");
  EXPECT_FALSE(RenameFile(a, b));  // the new name is taken
  EXPECT_TRUE(MoveFileReplacing(a, b));
  EXPECT_FALSE(FileExists(a));
  EXPECT_EQ(Read(b), "new");
  EXPECT_FALSE(MoveFileReplacing(a, b));  // nothing to move: b stays
  EXPECT_EQ(Read(b), "new");
  EXPECT_TRUE(RenameFile(b, a));

  const std::string before = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir(folder));
  // Relative names, in other case, resolve to the stored name.
  EXPECT_EQ(ResolvedFullPath("A.TXT"), a);
  EXPECT_EQ(ResolvedFullPath(".\\sub\\..\\missing.exe"), folder + "\\missing.exe");
  ASSERT_TRUE(SetCurrentDir(before));

  EXPECT_TRUE(DeleteFile(a));
  EXPECT_FALSE(DeleteFile(a));
  EXPECT_FALSE(DeleteFile(folder));  // not a file
  std::filesystem::remove(folder);
}

}  // namespace
}  // namespace pelmorix
