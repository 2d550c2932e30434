// A patch download through the real window: the bar moves with the bytes, the window repaints
// while the request is open, and "Abbrechen" ends the download at once.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/e2e/demo_window_steps.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/wait_until.h"
#include "tests/support/scripted_server.h"

namespace pelmorix::e2e {
namespace {

// The demo window is 640 x 440: the bar lies at 10, 200 (600 x 17), Button1 at 280, 240.
constexpr int kBarLeft = 10, kBarTop = 200, kBarWidth = 600, kBarHeight = 17;
constexpr int kCancelX = 280 + 37, kCancelY = 240 + 12;

// The bar's fill: a row of the bar where its filled start and its empty end differ.
struct TBarRow {
  int Y = -1;
  TColor Filled = 0;
};

std::optional<TBarRow> FindBarRow(const TXWindow& window) {
  const test::TScreenshot shot = test::TakeScreenshot();
  for (int y = kBarTop; y < kBarTop + kBarHeight; ++y) {
    const TColor start = window.Pixel(shot, kBarLeft + 6, y);
    if (!test::Near(start, window.Pixel(shot, kBarLeft + kBarWidth - 6, y), 10))
      return TBarRow{y, start};
  }
  return std::nullopt;
}

// Whether the bar shows its fill at the fraction of its width.
bool FilledAt(const TXWindow& window, const TBarRow& row, double fraction) {
  const int x = kBarLeft + static_cast<int>(kBarWidth * fraction);
  return test::Near(window.Pixel(test::TakeScreenshot(), x, row.Y), row.Filled, 10);
}

TEST_F(LauncherEndToEnd, TheBarMovesTheWindowRepaintsAndCancelEndsTheDownloadAtOnce) {
  // A quarter of the announced body, then a trickle of single bytes that only a cancel ends
  // before the test's time is up.
  TScriptedServer files(
      {TConnectionScript()
           .ReadRequest()
           .Send("HTTP/1.1 200 OK\r\nContent-Length: 400000\r\n\r\n" + std::string(100000, 'a'))
           .SendInPieces(std::string(1000, 'b'), 1, 20)});
  AddInstallation({.Id = 101, .Version = "1.0"});
  Server.WriteScenarioFile("patches/101/message.txt", "");
  Server.WriteScenarioFile("patches/101/list.txt",
                           "Karo|2.0|-|-|1|http://127.0.0.1:" + std::to_string(files.Port()) +
                               "/big.bin|big.bin|games\\101\\big.bin|");
  StartLauncher({.Arguments = {"/101"}});
  const TXWindow window = WaitForLauncherWindow("Tarnovia Kartenspiele (Demo)");
  ClickUpdateUntilWriteProbe(window, 101);
  ASSERT_TRUE(WaitUntil([&] { return files.AcceptedCount() > 0; }, 10))
      << "the download did not start";

  // A quarter of the body puts the bar at 27 of the scale (10 to 80 for the one file).
  std::optional<TBarRow> row;
  ASSERT_TRUE(WaitUntil([&] { return (row = FindBarRow(window)).has_value(); }, 10))
      << "no progress bar on the screen";
  ASSERT_TRUE(WaitUntil([&] { return FilledAt(window, *row, 0.2); }, 10))
      << "the bar did not move past 10 during the download";
  EXPECT_FALSE(FilledAt(window, *row, 0.5));

  // A close asked for now waits until the request has returned.
  window.Close();
  const TRect area = window.Geometry();
  const TRect cover{area.Left + 100, area.Top + kBarTop - 10, 200, 40};
  {
    TCoveringWindow covering(cover);
    ASSERT_TRUE(WaitUntil(
        [&] {
          return test::Near(window.Pixel(test::TakeScreenshot(), 130, row->Y), RGB(255, 0, 255));
        },
        10))
        << "the covering window did not appear";
  }
  ASSERT_TRUE(WaitUntil([&] { return FilledAt(window, *row, 0.2); }, 10))
      << "the uncovered bar was not painted again during the download";

  window.Click(kCancelX, kCancelY);
  EXPECT_TRUE(files.WaitForFinished(1, 5000)) << "the download went on after Abbrechen";
  const auto box = WaitForBox(Launcher->Pid(), window);
  ASSERT_TRUE(box.has_value()) << "no message after the cancel";
  box->PressKeys("Return");
  EXPECT_GE(std::filesystem::file_size(Work + "/temp/big.bin"), 100000u);
  EXPECT_FALSE(std::filesystem::exists(Work + "/games/101/big.bin"));
  EXPECT_EQ(Registry.MachineValue(101, "version"), "1.0");
  EXPECT_EQ(Launcher->WaitForExit(30), 0) << "the close held during the download was lost";
}

}  // namespace
}  // namespace pelmorix::e2e
