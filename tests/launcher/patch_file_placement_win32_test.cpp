// Patch files put in place where another program holds the target, as a virus scanner holds a
// new file for a while.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "launcher/patch_file_placement.h"
#include "tests/support/temp_folder.h"
// After the interface: the system's macros must not rewrite its declarations.
#include <windows.h>

namespace pelmorix {
namespace {

// Opens the file as another program would, sharing deletion or not.
::HANDLE Hold(const std::string& path, ::DWORD sharing) {
  return ::CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(PatchFilePlacementWin32, AHeldTargetIsHeldUntilItsHolderLetsGo) {
  TTempFolder folder;
  const std::string download = folder.Path() + "\\new.bin", target = folder.Path() + "\\game.dat";
  std::ofstream(download, std::ios::binary) << "new";
  std::ofstream(target, std::ios::binary) << "old";

  ::HANDLE holder = Hold(target, FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_EQ(PlacePatchFile(download, target, "C:\\Games\\Pelmorix.exe"), TPlacement::Held);
  EXPECT_EQ(ReadTextFile(target), "old");
  // The running program's own file (here a held one) is not waited for.
  EXPECT_EQ(PlacePatchFile(download, target, target), TPlacement::Skipped);
  ::CloseHandle(holder);
  EXPECT_EQ(PlacePatchFile(download, target, "C:\\Games\\Pelmorix.exe"), TPlacement::Placed);
  EXPECT_EQ(ReadTextFile(target), "new");

  // A holder that lets deletion happen keeps the name until it closes, on systems without
  // the newer deletion: the move is then refused, which is no reason to skip the file.
  std::ofstream(download, std::ios::binary) << "newer";
  holder = Hold(target, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  const TPlacement placement = PlacePatchFile(download, target, "C:\\Games\\Pelmorix.exe");
  EXPECT_NE(placement, TPlacement::Skipped);
  ::CloseHandle(holder);
  if (placement == TPlacement::Held) {
    EXPECT_EQ(PlacePatchFile(download, target, "C:\\Games\\Pelmorix.exe"), TPlacement::Placed);
  }
  EXPECT_EQ(ReadTextFile(target), "newer");

  std::ofstream(download, std::ios::binary) << "x";
  EXPECT_EQ(PlacePatchFile(download, folder.Path() + "\\missing\\game.dat", ""),
            TPlacement::Skipped);
}

}  // namespace
}  // namespace pelmorix
