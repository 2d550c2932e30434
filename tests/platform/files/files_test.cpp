#include "platform/files/files.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace pelmorix {
namespace {

TEST(Files, CreateDeleteRenameAndExistenceWithWindowsPaths) {
  TTempFolder folder;
  TCurrentDirectory current(folder.Path());
  EXPECT_EQ(GetCurrentDir(), folder.Path());

  EXPECT_TRUE(CreateDir("temp"));
  EXPECT_FALSE(CreateDir("temp"));  // exists already
  EXPECT_FALSE(CreateDir("missing\\child"));
  EXPECT_TRUE(DirectoryExists("temp"));
  EXPECT_FALSE(FileExists("temp"));

  WriteTextFile(folder / "temp/test.exe", "old content");
  EXPECT_TRUE(CreateOrEmptyFile("temp\\test.exe"));
  EXPECT_EQ(ReadTextFile(folder / "temp/test.exe"), "");
  EXPECT_TRUE(FileExists("temp\\test.exe"));
  EXPECT_FALSE(CreateOrEmptyFile("missing\\file"));

  // Like MoveFile, a rename does not replace an existing file.
  WriteTextFile(folder / "temp/new.exe", "new");
  WriteTextFile(folder / "target.exe", "target");
  EXPECT_FALSE(RenameFile("temp\\new.exe", "target.exe"));
  EXPECT_EQ(ReadTextFile(folder / "target.exe"), "target");
  EXPECT_TRUE(DeleteFile("target.exe"));
  EXPECT_FALSE(DeleteFile("target.exe"));
  EXPECT_FALSE(DeleteFile("temp"));  // not a directory
  EXPECT_TRUE(RenameFile("temp\\new.exe", "target.exe"));
  EXPECT_EQ(ReadTextFile(folder / "target.exe"), "new");
  EXPECT_FALSE(FileExists("temp\\new.exe"));
  EXPECT_FALSE(RenameFile("temp\\new.exe", "again.exe"));

  EXPECT_TRUE(SetCurrentDir("temp"));
  EXPECT_EQ(GetCurrentDir(), folder / "temp");
  EXPECT_FALSE(SetCurrentDir("nowhere"));
}

TEST(Files, ModuleFileNameIsTheRunningExecutable) {
  const std::string path = GetModuleFileName();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  EXPECT_EQ(path.substr(path.rfind('/') + 1), "files_tests");
  EXPECT_TRUE(FileExists(path));
}

}  // namespace
}  // namespace pelmorix
