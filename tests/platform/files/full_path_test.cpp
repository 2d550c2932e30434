#include "platform/files/full_path.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_folder.h"

namespace pelmorix {
namespace {

TEST(FullPath, ResolvesRelativePartsAndLinks) {
  TTempFolder folder;
  TCurrentDirectory current(folder.Path());
  const std::string real = ResolvedFullPath(folder.Path());
  std::filesystem::create_directory(folder / "bin");
  WriteTextFile(folder / "bin/Pelmorix.exe", "x");
  std::filesystem::create_symlink(folder / "bin", folder / "link");

  EXPECT_EQ(ResolvedFullPath("bin\\Pelmorix.exe"), real + "/bin/Pelmorix.exe");
  EXPECT_EQ(ResolvedFullPath("link\\..\\link\\Pelmorix.exe"), real + "/bin/Pelmorix.exe");
  EXPECT_EQ(ResolvedFullPath(folder / "link/Pelmorix.exe"), real + "/bin/Pelmorix.exe");
  // A file that does not exist is made absolute and tidied only.
  EXPECT_EQ(ResolvedFullPath(".\\bin\\..\\new.exe"), real + "/new.exe");
  EXPECT_EQ(ResolvedFullPath(""), "");
}

}  // namespace
}  // namespace pelmorix
