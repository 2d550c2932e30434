// Pelmorix.exe against the demo server as a person uses it: the server's window and buttons,
// a click that starts the game, the start without any server, and the patch runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/e2e/demo_window_steps.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/wait_until.h"
#include "tests/support/loopback_targets.h"

namespace pelmorix::e2e {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST_F(LauncherEndToEnd, ServerWindowWithPictureButtonStartsTheGameAndCloses) {
  const TDemoGame game = AddInstallation({.Id = 101});
  StartLauncher({.Arguments = {"/101"}});
  const TXWindow window = WaitForLauncherWindow("Tarnovia Kartenspiele (Demo)");
  ASSERT_TRUE(Server.WaitForRequest("action=getbuttonimage&id=101&param1=4"));
  const TRect area = window.Geometry();
  EXPECT_EQ(area.Width, 640);
  EXPECT_EQ(area.Height, 440);

  // The picture's up cell (orange) fills the middle of the play button.
  ASSERT_TRUE(WaitUntil(
      [&] {
        const TColor pixel = window.Pixel(test::TakeScreenshot(), kPlayX, kButtonY - 10);
        return GetRValue(pixel) > 200 && GetGValue(pixel) > 80 && GetBValue(pixel) < 80;
      },
      30))
      << "the play button does not show its picture";

  ASSERT_TRUE(
      ClickUntil(window, kPlayX, kButtonY, [&] { return TDemoGame::WasStarted(game.Game); }));
  const auto started = TDemoGame::WaitForStart(game.Game);
  ASSERT_TRUE(started.has_value());
  EXPECT_EQ(started->WorkingDirectory, game.Folder);
  EXPECT_TRUE(started->Arguments.size() <= 1) << "no parameters after the program";
  EXPECT_EQ(Launcher->WaitForExit(60), 0) << Launcher->Output();
}

TEST_F(LauncherEndToEnd, WithoutAnyServerTheGameStartsAtOnce) {
  const TDemoGame game = AddInstallation({.Id = 101});
  StartLauncher({.Arguments = {"/101"},
                 .ConfigServer = "http://127.0.0.1:" + std::to_string(UnusedLoopbackPort())});
  ASSERT_TRUE(TDemoGame::WaitForStart(game.Game).has_value());
  EXPECT_EQ(Launcher->WaitForExit(60), 0) << Launcher->Output();
  EXPECT_FALSE(Server.WaitForRequest("getbutton", 0.5));
}

TEST_F(LauncherEndToEnd, UpdateButtonPatchesTheInstallation) {
  AddInstallation({.Id = 101, .Version = "1.0"});
  StartLauncher({.Arguments = {"/101"}});
  const TXWindow window = WaitForLauncherWindow("Tarnovia Kartenspiele (Demo)");
  ClickUpdateUntilWriteProbe(window, 101);

  const auto question = WaitForBox(Launcher->Pid(), window);
  ASSERT_TRUE(question.has_value()) << "no patch question";
  question->PressKeys("Return");  // Yes
  ASSERT_TRUE(WaitUntil([&] { return Registry.MachineValue(101, "version") == "1.1"; }, 60));
  EXPECT_EQ(ReadFile(Work + "/games/101/liesmich.txt"),
            ReadFile(Server.ScenarioFile("patches/101/files/liesmich.txt")));
  EXPECT_EQ(ReadFile(Work + "/games/101/regeln.dat"),
            ReadFile(Server.ScenarioFile("patches/101/files/regeln.dat")));

  const auto success = WaitForBox(Launcher->Pid(), window);
  ASSERT_TRUE(success.has_value()) << "no success message";
  success->PressKeys("Return");
  EXPECT_TRUE(WaitUntil([&] { return VisibleWindowsOf(Launcher->Pid()).size() == 1; }, 30));
  EXPECT_FALSE(Launcher->HasEnded());
}

TEST_F(LauncherEndToEnd, SelfPatchReplacesTheLauncherAfterItCloses) {
  AddInstallation({.Id = 103, .Version = "1.0"});
  const std::string program = CopyLauncherTo(Work);
  const std::string marker = "#!/bin/sh\n# the new launcher\n";
  Server.WriteScenarioFile("patches/103/files/Pelmorix.exe", marker);
  StartLauncher({.Arguments = {"/103"}, .Program = program});
  const TXWindow window = WaitForLauncherWindow("Tarnovia Kartenspiele (Demo)");
  ClickUpdateUntilWriteProbe(window, 103);
  const auto question = WaitForBox(Launcher->Pid(), window);
  ASSERT_TRUE(question.has_value()) << "no patch question";
  question->PressKeys("Return");

  EXPECT_EQ(Launcher->WaitForExit(60), 0) << Launcher->Output();
  EXPECT_TRUE(WaitUntil([&] { return ReadFile(program) == marker; }, 60))
      << "Helper1.exe did not put the new launcher in place";
  EXPECT_EQ(Registry.MachineValue(103, "version"), "2.0");
}

}  // namespace
}  // namespace pelmorix::e2e
