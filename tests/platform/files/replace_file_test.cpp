#include "platform/files/replace_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/temp_folder.h"

namespace pelmorix {
namespace {

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

bool SameFileSystem(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev;
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(folder)) {
    names.push_back(item.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ReplaceFile, ReplacesInPlaceKeepingTheTargetsMode) {
  TTempFolder folder;
  TCurrentDirectory current(folder.Path());
  std::filesystem::create_directory(folder / "temp");
  WriteTextFile(folder / "temp/new.exe", "new program");
  chmod((folder / "temp/new.exe").c_str(), 0644);
  WriteTextFile(folder / "Pelmorix.exe", "old program");
  chmod((folder / "Pelmorix.exe").c_str(), 0751);

  EXPECT_TRUE(MoveFileReplacing("temp\\new.exe", "Pelmorix.exe"));
  EXPECT_EQ(ReadTextFile(folder / "Pelmorix.exe"), "new program");
  EXPECT_EQ(ModeOf(folder / "Pelmorix.exe"), 0751u);
  EXPECT_FALSE(std::filesystem::exists(folder / "temp/new.exe"));
  EXPECT_EQ(Names(folder.Path()), (std::vector<std::string>{"Pelmorix.exe", "temp"}));

  // Without a target the file simply moves, with its own mode.
  WriteTextFile(folder / "temp/other.dat", "data");
  chmod((folder / "temp/other.dat").c_str(), 0600);
  EXPECT_TRUE(MoveFileReplacing("temp\\other.dat", "other.dat"));
  EXPECT_EQ(ReadTextFile(folder / "other.dat"), "data");
  EXPECT_EQ(ModeOf(folder / "other.dat"), 0600u);

  // A file replaced by itself stays.
  EXPECT_TRUE(MoveFileReplacing("Pelmorix.exe", folder / "Pelmorix.exe"));
  EXPECT_EQ(ReadTextFile(folder / "Pelmorix.exe"), "new program");
}

TEST(ReplaceFile, FailuresLeaveTheTargetAndTheSource) {
  TTempFolder folder;
  WriteTextFile(folder / "Pelmorix.exe", "old program");

  EXPECT_FALSE(MoveFileReplacing(folder / "missing.exe", folder / "Pelmorix.exe"));
  EXPECT_EQ(ReadTextFile(folder / "Pelmorix.exe"), "old program");

  // A directory is neither a source nor a target.
  std::filesystem::create_directories(folder / "folder/inside");
  WriteTextFile(folder / "new.exe", "new program");
  EXPECT_FALSE(MoveFileReplacing(folder / "folder", folder / "Pelmorix.exe"));
  EXPECT_FALSE(MoveFileReplacing(folder / "new.exe", folder / "folder"));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "folder/inside"));
  EXPECT_EQ(ReadTextFile(folder / "new.exe"), "new program");
  EXPECT_EQ(ReadTextFile(folder / "Pelmorix.exe"), "old program");

  // A target folder that does not exist.
  EXPECT_FALSE(MoveFileReplacing(folder / "new.exe", folder / "nowhere/Pelmorix.exe"));
  EXPECT_EQ(ReadTextFile(folder / "new.exe"), "new program");
}

TEST(ReplaceFile, AcrossFileSystemsThroughACopyBesideTheTarget) {
  TTempFolder folder;
  std::string other = "/dev/shm/pelmorix-replace-XXXXXX";
  if (!std::filesystem::is_directory("/dev/shm") || mkdtemp(other.data()) == nullptr) {
    GTEST_SKIP() << "no second file system at /dev/shm";
  }
  const std::string source = other + "/new.exe";
  WriteTextFile(source, std::string(200000, 'n'));
  chmod(source.c_str(), 0644);
  const bool separate = !SameFileSystem(other, folder.Path());
  WriteTextFile(folder / "Pelmorix.exe", "old program");
  chmod((folder / "Pelmorix.exe").c_str(), 0755);

  const bool moved = MoveFileReplacing(source, folder / "Pelmorix.exe");
  const bool sourceLeft = std::filesystem::exists(source);
  std::filesystem::remove_all(other);
  if (!separate) GTEST_SKIP() << "/dev/shm is on the same file system as the temporary folder";
  EXPECT_TRUE(moved);
  EXPECT_FALSE(sourceLeft);
  EXPECT_EQ(ReadTextFile(folder / "Pelmorix.exe"), std::string(200000, 'n'));
  EXPECT_EQ(ModeOf(folder / "Pelmorix.exe"), 0755u);
  // No temporary is left beside the target.
  EXPECT_EQ(Names(folder.Path()), std::vector<std::string>{"Pelmorix.exe"});
}

}  // namespace
}  // namespace pelmorix
