// The start page in the real browser while the picture step refreshes it: the page settles at
// every picture level, and a picture that cannot be fetched is reported once.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "tests/e2e/e2e_fixture.h"

namespace pelmorix::e2e {
namespace {

int CountRequests(const std::vector<std::string>& requests, const std::string& part) {
  return static_cast<int>(std::count_if(requests.begin(), requests.end(), [&](const auto& r) {
    return r.find(part) != std::string::npos;
  }));
}

void Sleep(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

// Waits until no request has come for `quiet` seconds; false when requests still come after
// `seconds`.
bool WaitForQuiet(const TDemoServer& server, double quiet, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  size_t seen = server.Requests().size();
  while (std::chrono::steady_clock::now() < end) {
    Sleep(quiet);
    const size_t now = server.Requests().size();
    if (now == seen) return true;
    seen = now;
  }
  return false;
}

// The demo's button rows with row 0's picture level replaced.
std::string ButtonRowsWithLevel(const std::string& rows, const std::string& level) {
  std::istringstream in(rows);
  std::string row0, rest, line;
  std::getline(in, row0);
  while (std::getline(in, line)) rest += "\n" + line;
  // 0|width|height|level|...
  size_t field = 0;
  for (int i = 0; i < 3; ++i) field = row0.find('|', field) + 1;
  row0.replace(field, row0.find('|', field) - field, level);
  return row0 + rest;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// One picture level of row 0 per case, so each case stays short.
class StartPageAtPictureLevel : public LauncherEndToEnd,
                                public ::testing::WithParamInterface<int> {};

TEST_P(StartPageAtPictureLevel, Settles) {
  AddInstallation({.Id = 101});
  const std::string rows = ReadFile(Server.ScenarioFile("buttons.txt"));
  Server.WriteScenarioFile("buttons.txt", ButtonRowsWithLevel(rows, std::to_string(GetParam())));
  StartLauncher({.Arguments = {"/101"}});
  WaitForLauncherWindow("Tarnovia Kartenspiele (Demo)");
  ASSERT_TRUE(Server.WaitForRequest("action=getbuttonimage&id=101&param1=5"));
  ASSERT_TRUE(WaitForQuiet(Server, 3, 60)) << "the launcher keeps asking the server";
  const std::vector<std::string> requests = Server.Requests();
  // Navigated once; the picture step's refreshes of one pass make at most one reload.
  const int pages = CountRequests(requests, "action=getpage");
  EXPECT_LE(1, pages);
  EXPECT_GE(2, pages) << ::testing::PrintToString(requests);
  EXPECT_EQ(1, CountRequests(requests, "action=getbuttonimage&id=101&param1=3"));
}

INSTANTIATE_TEST_SUITE_P(Levels, StartPageAtPictureLevel, ::testing::Values(1, 2, 3));

TEST_F(LauncherEndToEnd, FailingPictureRequestShowsOneBox) {
  AddInstallation({.Id = 101});
  std::remove(Server.ScenarioFile("images/3.jpg").c_str());
  StartLauncher({.Arguments = {"/101"}});
  WaitForLauncherWindow("Tarnovia Kartenspiele (Demo)");
  ASSERT_TRUE(Server.WaitForRequest("action=getbuttonimage&id=101&param1=3"));
  // The box's own message loop lets the refresh finish; that must not open another box.
  const auto boxes = [&] { return VisibleWindowsOf(Launcher->Pid()).size() - 1; };
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (boxes() == 0 && std::chrono::steady_clock::now() < end) Sleep(0.1);
  ASSERT_EQ(1u, boxes());
  ASSERT_TRUE(WaitForQuiet(Server, 3, 30));
  EXPECT_EQ(1u, boxes());
  EXPECT_EQ(1, CountRequests(Server.Requests(), "action=getbuttonimage&id=101&param1=3"));
}

}  // namespace
}  // namespace pelmorix::e2e
