// Pelmorix-Setup.exe under wine as a vendor's customer uses it: a silent install into a folder
// below Program Files, the launcher started as its Start menu shortcut starts it, "Spielen"
// starting the installed game, and the uninstaller from the list of programs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/e2e/wait_until.h"
#include "tests/e2e/windows/demo_page_clicks.h"
#include "tests/e2e/windows/launcher_e2e_fixture.h"
#include "tests/e2e/windows/shell_shortcut.h"
#include "tests/support/under_wine.h"

namespace pelmorix::e2e {
namespace {

const std::string kId = std::to_string(PELMORIX_SETUP_ID);
const std::string kInstallationKey = "SOFTWARE\\velkora\\tarnovia\\" + kId;
const std::string kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarnovia" + kId;

std::string WindowsPath(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// A string value of HKEY_LOCAL_MACHINE in the view of `view` (KEY_WOW64_32KEY or _64KEY).
std::optional<std::string> MachineValue(const std::string& key, const std::string& name,
                                        REGSAM view) {
  char value[1024];
  DWORD size = sizeof value;
  const DWORD flags =
      RRF_RT_REG_SZ | (view == KEY_WOW64_32KEY ? RRF_SUBKEY_WOW6432KEY : RRF_SUBKEY_WOW6464KEY);
  if (::RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name.c_str(), flags, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(value);
}

bool MachineKeyExists(const std::string& key, REGSAM view) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | view, &opened) !=
      ERROR_SUCCESS) {
    return false;
  }
  ::RegCloseKey(opened);
  return true;
}

std::vector<std::string> FolderContent(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code missing;
  for (const auto& entry : std::filesystem::directory_iterator(folder, missing)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

// The files Windows removes at its next start, as a setup leaves them to it: the names of
// PendingFileRenameOperations joined by "|".
std::string PendingRemovals() {
  std::vector<char> names(1 << 16);
  DWORD size = static_cast<DWORD>(names.size());
  if (::RegGetValueA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                     "PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, names.data(),
                     &size) != ERROR_SUCCESS) {
    return "";
  }
  std::string text(names.data(), size);
  for (char& c : text) {
    if (c == '\0') c = '|';
  }
  return text;
}

class SetupWin32 : public LauncherEndToEndWin32 {
 protected:
  // Installs silently into the folder; false when the setup did not end well in time.
  bool Install(const std::string& folder) {
    return RunToEnd(WindowsPath(PELMORIX_BIN_DIR "/Pelmorix-Setup.exe"), {"/S", "/D=" + folder}) ==
           0;
  }
  long RunToEnd(const std::string& program, const std::vector<std::string>& arguments) {
    TWindowsProgram run({.Program = program,
                         .Arguments = arguments,
                         .WorkingDirectory = Root.Path(),
                         .Environment = {},
                         .OutputFile = Root / "setup.out"});
    return run.WaitForExit(120);
  }
};

TEST_F(SetupWin32, InstallsRunsFromItsShortcutAndUninstallsLeavingOnlyTheUsersFiles) {
  // Wine takes the menu builder's switch from the Unix environment only (cmake/wine-run.sh);
  // with the builder on, the shortcut would land in the build machine's home as a menu entry.
  if (RunsUnderWine()) {
    const char* overrides = std::getenv("WINEDLLOVERRIDES");
    ASSERT_NE(std::string(overrides != nullptr ? overrides : "").find("winemenubuilder.exe=d"),
              std::string::npos)
        << "run under wine with WINEDLLOVERRIDES=winemenubuilder.exe=d";
  }
  // The user's choice of folder below Program Files, given as a silent install takes it.
  TTempFolder chosen(ProgramFilesFolder());
  const std::string folder = WindowsPath(chosen.Path());
  ASSERT_TRUE(Install(folder)) << "the setup did not end well within 120 s";

  // The installation's key, in the 32-bit view only, where the launcher reads it.
  const std::string& key = kInstallationKey;
  EXPECT_EQ(MachineValue(key, "folder", KEY_WOW64_32KEY), folder);
  EXPECT_EQ(MachineValue(key, "exe", KEY_WOW64_32KEY), PELMORIX_SETUP_GAME_EXE);
  EXPECT_EQ(MachineValue(key, "uninstallexe", KEY_WOW64_32KEY), folder + "\\uninstall.exe");
  EXPECT_EQ(MachineValue(key, "version", KEY_WOW64_32KEY), PELMORIX_SETUP_VERSION);
  EXPECT_EQ(MachineValue(key, "starterversion", KEY_WOW64_32KEY), PELMORIX_SETUP_STARTER_VERSION);
  EXPECT_EQ(MachineValue(key, "affid", KEY_WOW64_32KEY), PELMORIX_SETUP_AFFID);
  EXPECT_FALSE(MachineKeyExists(key, KEY_WOW64_64KEY));
  const auto uninstall = MachineValue(kUninstallKey, "UninstallString", KEY_WOW64_64KEY);
  ASSERT_EQ(uninstall, "\"" + folder + "\\uninstall.exe\"");

  const std::string link = CommonProgramsFolder() + "\\" PELMORIX_SETUP_PRODUCT ".lnk";
  const auto shortcut = ReadShellShortcut(link);
  ASSERT_TRUE(shortcut.has_value()) << link << " cannot be read";
  EXPECT_EQ(shortcut->Program, folder + "\\Pelmorix.exe");
  EXPECT_EQ(shortcut->Arguments, "/" + kId);
  ASSERT_EQ(shortcut->WorkingDirectory, folder);

  Work = shortcut->WorkingDirectory;
  StartLauncher(shortcut->Arguments, shortcut->Program);
  const HWND window = WaitForLauncherWindow();
  ASSERT_TRUE(Server.WaitForRequest("action=getbuttonimage&id=" + kId + "&param1=4"));
  ASSERT_TRUE(WaitForPixel(window, kPlayX, kButtonY - 10, [](int r, int g, int b) {
    return r > 200 && g > 80 && b < 80;
  })) << "the play button does not show its picture";
  const std::string record = folder + "\\gestartet.txt";
  ASSERT_TRUE(ClickUntil(window, kPlayX, kButtonY, [&] { return std::filesystem::exists(record); }))
      << "no game after 10 clicks; "
      << DescribeClickTarget(window, kPlayX, kButtonY, Launcher->Id());
  EXPECT_EQ(ReadTextFile(record), "Arbeitsordner: " + folder + "\r\nParameter: \r\n");
  EXPECT_EQ(Launcher->WaitForExit(60), 0);
  // The launcher's picture cache lies in its working folder.
  EXPECT_TRUE(std::filesystem::exists(folder + "\\33.jpg"));

  // The game shows its box until it is answered; its program cannot go while it runs.
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = ::FindWindowA("#32770", "Tarnovia Demospiel")); }, 30))
      << "the game showed no box";
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntil([&] { return !::FindWindowA("#32770", "Tarnovia Demospiel"); }, 30))
      << "the game's box did not close";

  // What the write probe leaves in "temp", and a picture of the user's own.
  std::filesystem::create_directories(folder + "\\temp");
  WriteTextFile(folder + "\\temp\\test.exe", "");
  WriteTextFile(folder + "\\3 Spielbrett.jpg", "mein Bild");

  // As the list of programs runs it; the uninstaller runs on from a copy of itself and returns
  // at once, so what it removes is waited for.
  EXPECT_EQ(RunToEnd(uninstall->substr(1, uninstall->size() - 2), {"/S"}), 0);
  const auto clean = [&] {
    return FolderContent(folder) == std::vector<std::string>{"3 Spielbrett.jpg"} &&
           !MachineKeyExists(key, KEY_WOW64_32KEY) &&
           !MachineKeyExists(kUninstallKey, KEY_WOW64_64KEY) && !std::filesystem::exists(link);
  };
  EXPECT_TRUE(WaitUntil(clean, 60))
      << "left after 60 s: " << ::testing::PrintToString(FolderContent(folder))
      << (MachineKeyExists(key, KEY_WOW64_32KEY) ? ", the installation's key" : "")
      << (MachineKeyExists(kUninstallKey, KEY_WOW64_64KEY) ? ", the list's entry" : "")
      << (std::filesystem::exists(link) ? ", the shortcut" : "");
  EXPECT_EQ(ReadTextFile(folder + "\\3 Spielbrett.jpg"), "mein Bild");
}

// Windows keeps a file that a running program holds; the uninstaller leaves it to the next
// start of Windows instead of leaving it behind for good.
TEST_F(SetupWin32, AProgramInUseIsLeftToTheNextStartOfWindows) {
  TTempFolder chosen(ProgramFilesFolder());
  const std::string folder = WindowsPath(chosen.Path());
  ASSERT_TRUE(Install(folder)) << "the setup did not end well within 120 s";
  const std::string program = folder + "\\Pelmorix.exe";
  HANDLE held = ::CreateFileA(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(RunToEnd(folder + "\\uninstall.exe", {"/S"}), 0);
  const bool ended =
      WaitUntil([&] { return !MachineKeyExists(kInstallationKey, KEY_WOW64_32KEY); }, 60);
  ::CloseHandle(held);
  ASSERT_TRUE(ended) << "the uninstaller did not remove the installation's key within 60 s";
  EXPECT_TRUE(std::filesystem::exists(program));
  EXPECT_NE(PendingRemovals().find(program), std::string::npos) << PendingRemovals();
}

}  // namespace
}  // namespace pelmorix::e2e
