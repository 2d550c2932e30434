// Pelmorix.exe under wine against the demo server as a person uses it: the server's window and
// buttons, a click that starts the game, the start without any server, and the patch runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "tests/e2e/wait_until.h"
#include "tests/e2e/windows/demo_page_clicks.h"
#include "tests/e2e/windows/launcher_e2e_fixture.h"
#include "tests/support/loopback_targets.h"

namespace pelmorix::e2e {
namespace {

class LauncherStartWin32 : public LauncherEndToEndWin32 {
 protected:
  // Waits for the window with its update button, clicks it and says yes to the patch question.
  void AcceptPatchOffer(int id) {
    const HWND window = WaitForLauncherWindow();
    ASSERT_TRUE(
        Server.WaitForRequest("action=getbuttonimage&id=" + std::to_string(id) + "&param1=4"));
    ASSERT_TRUE(WaitForPixel(window, kUpdateX, kButtonY - 10, [](int r, int g, int b) {
      return r > 150 && g > 150 && b > 150;
    })) << "no update button";
    // The write probe is the click's first request.
    ASSERT_TRUE(ClickUntil(window, kUpdateX, kButtonY,
                           [&] {
                             const auto requests = Server.Requests();
                             return std::find(requests.begin(), requests.end(), "/index.php") !=
                                    requests.end();
                           }))
        << "no write probe after 10 clicks; "
        << DescribeClickTarget(window, kUpdateX, kButtonY, Launcher->Id())
        << "; the server saw: " << ::testing::PrintToString(Server.Requests());
    const HWND question = WaitForMessageBoxOf(Launcher->Id());
    ASSERT_NE(question, nullptr) << "no patch question";
    PressEnterIn(question);  // Yes
  }
};

TEST_F(LauncherStartWin32, ServerWindowWithPictureButtonStartsTheGameAndCloses) {
  const TDemoGame game = AddInstallation(101);
  StartLauncher("/101");
  const HWND window = WaitForLauncherWindow();
  ASSERT_TRUE(Server.WaitForRequest("action=getbuttonimage&id=101&param1=4"));
  const SIZE area = ClientSize(window);
  EXPECT_EQ(area.cx, 640);
  EXPECT_EQ(area.cy, 440);

  // The picture's up cell (orange) fills the middle of the play button.
  ASSERT_TRUE(WaitForPixel(window, kPlayX, kButtonY - 10, [](int r, int g, int b) {
    return r > 200 && g > 80 && b < 80;
  })) << "the play button does not show its picture";

  ASSERT_TRUE(
      ClickUntil(window, kPlayX, kButtonY, [&] { return TDemoGame::WasStarted(game.Game); }))
      << "no game after 10 clicks; "
      << DescribeClickTarget(window, kPlayX, kButtonY, Launcher->Id());
  const auto started = TDemoGame::WaitForStart(game.Game);
  ASSERT_TRUE(started.has_value());
  EXPECT_EQ(started->WorkingDirectory, game.Folder);
  EXPECT_TRUE(started->Arguments.empty()) << "no parameters after the program";
  EXPECT_EQ(Launcher->WaitForExit(60), 0);
}

TEST_F(LauncherStartWin32, WithoutAnyServerTheGameStartsAtOnce) {
  const TDemoGame game = AddInstallation(101);
  StartLauncher("/101", "", "http://127.0.0.1:" + std::to_string(UnusedLoopbackPort()));
  ASSERT_TRUE(TDemoGame::WaitForStart(game.Game).has_value());
  EXPECT_EQ(Launcher->WaitForExit(60), 0);
  EXPECT_FALSE(Server.WaitForRequest("getbutton", 0.5));
}

TEST_F(LauncherStartWin32, UpdateButtonPatchesTheInstallation) {
  const TDemoGame game = AddInstallation(101, "1.0");
  StartLauncher("/101");
  AcceptPatchOffer(101);
  if (HasFatalFailure()) return;
  ASSERT_TRUE(WaitUntil([&] { return Registry.MachineValue(101, "version") == "1.1"; }, 60));
  for (const char* name : {"liesmich.txt", "regeln.dat"}) {
    EXPECT_EQ(ReadTextFile(game.Folder + "\\" + name),
              ReadTextFile(Server.ScenarioFile(std::string("patches/101/files/") + name)))
        << name;
  }

  const HWND success = WaitForMessageBoxOf(Launcher->Id());
  ASSERT_NE(success, nullptr) << "no success message";
  PressEnterIn(success);
  EXPECT_TRUE(WaitUntil([&] { return VisibleWindowsOf(Launcher->Id()).size() == 1; }, 30));
  EXPECT_FALSE(Launcher->HasEnded());
}

// A file of the patch that another program holds open without delete sharing (as a virus
// scanner may): the launcher tries it again for a while, then says so and records no version.
TEST_F(LauncherStartWin32, AHeldTargetEndsThePatchRunWithoutAVersion) {
  const TDemoGame game = AddInstallation(101, "1.0");
  const std::string held = game.Folder + "\\regeln.dat";
  std::ofstream(held, std::ios::binary) << "alt";
  const HANDLE holder =
      ::CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  StartLauncher("/101");
  AcceptPatchOffer(101);
  HWND failure = nullptr;
  if (!HasFatalFailure()) {
    WaitUntil(
        [&] {
          for (HWND shown : VisibleWindowsOf(Launcher->Id())) {
            if (ChildTexts(shown).find("Fehler: ") != std::string::npos) failure = shown;
          }
          return failure != nullptr;
        },
        60);
  }
  ::CloseHandle(holder);
  ASSERT_NE(failure, nullptr) << "no failure message within 60 s";
  EXPECT_NE(ChildTexts(failure).find("Fehler: Datei games\\101\\regeln.dat kann nicht ersetzt "
                                     "werden. F"),
            std::string::npos)
      << ChildTexts(failure);
  EXPECT_EQ(ReadTextFile(held), "alt");
  EXPECT_EQ(Registry.MachineValue(101, "version"), "1.0");
  PressEnterIn(failure);
  EXPECT_TRUE(WaitUntil([&] { return VisibleWindowsOf(Launcher->Id()).size() == 1; }, 30))
      << "the box did not close";
}

TEST_F(LauncherStartWin32, SelfPatchReplacesTheLauncherAfterItCloses) {
  AddInstallation(103, "1.0");
  const std::string program = CopyLauncherToWork();
  const std::string marker = "MZ the new launcher\r\n";
  Server.WriteScenarioFile("patches/103/files/Pelmorix.exe", marker);
  StartLauncher("/103", program);
  AcceptPatchOffer(103);
  if (HasFatalFailure()) return;

  EXPECT_EQ(Launcher->WaitForExit(60), 0);
  // A reader of the program holds Helper1.exe's move back, so the program is read once the
  // download has gone.
  EXPECT_TRUE(WaitUntil([&] { return !std::filesystem::exists(Work + "\\temp\\new.exe"); }, 60));
  EXPECT_EQ(ReadTextFile(program), marker) << "Helper1.exe did not put the new launcher in place";
  EXPECT_EQ(Registry.MachineValue(103, "version"), "2.0");
}

}  // namespace
}  // namespace pelmorix::e2e
