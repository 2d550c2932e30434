// Pelmorix.exe started as a person starts it, against the demo server: its window, and what it
// leaves behind when it is closed.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_fixture.h"

namespace pelmorix::e2e {
namespace {

TEST_F(LauncherEndToEnd, WindowAppearsCentredPaintedAndClosesOnWmClose) {
  const TDemoGame game = AddInstallation({.Id = 101, .Version = "1.0", .StarterVersion = "7"});
  StartLauncher({.Arguments = {"/101"}});
  const TXWindow window = WaitForLauncherWindow();
  EXPECT_FALSE(window.Title().empty());

  const TRect screen = ScreenSize();
  const TRect area = window.Geometry();
  ASSERT_GT(area.Width, 0);
  ASSERT_GT(area.Height, 0);
  EXPECT_NEAR(area.Left, (screen.Width - area.Width) / 2, 1);
  EXPECT_NEAR(area.Top, (screen.Height - area.Height) / 2, 1);

  // The client area is painted (the browser's page), unlike the bare screen around it.
  const test::TScreenshot shot = test::TakeScreenshot();
  EXPECT_EQ(shot.Width, screen.Width);
  EXPECT_NE(window.Pixel(shot, area.Width / 2, area.Height / 2), shot.Pixel(0, 0));

  window.Close();
  EXPECT_EQ(Launcher->WaitForExit(60), 0) << Launcher->Output();
  EXPECT_TRUE(VisibleWindowsOf(Launcher->Pid()).empty());
  EXPECT_FALSE(TDemoGame::WasStarted(game.Game));
  EXPECT_FALSE(TDemoGame::WasStarted(game.Uninstaller));
  // Closing writes nothing into the installation.
  EXPECT_EQ(Registry.MachineValue(101, "version"), "1.0");
}

}  // namespace
}  // namespace pelmorix::e2e
