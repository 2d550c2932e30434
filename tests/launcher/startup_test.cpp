// The start-up against the demo server: the server list, the command-line paths, the window
// taken from row 0, and the fallback that starts the game at once.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/codepage.h"
#include "tests/launcher/launcher_rig.h"

namespace pelmorix {
namespace {

bool Requested(const TLauncherRig& rig, const std::string& target) {
  const auto requests = rig.Server.Requests();
  return std::find(requests.begin(), requests.end(), target) != requests.end();
}

TEST(Startup, NormalPathSizesTitlesAndNavigates) {
  TLauncherRig rig({"/101"});
  rig.AddInstallation(101, {{"version", "1.4"}, {"starterversion", "7"}, {"folder", "/g"}});
  rig.Server.Put("buttons.txt", ButtonRows("0|400|300|0||Karten Start|||"));
  rig.Start();
  rig.Show();

  EXPECT_EQ(rig.State().ServerBase, "http://127.0.0.1:" + std::to_string(rig.Server.Port()) + "/");
  EXPECT_EQ(rig.Form->ClientWidth(), 404);
  EXPECT_EQ(rig.Form->ClientHeight(), 304);
  EXPECT_EQ(rig.Form->Caption(), "Karten Start");
  EXPECT_EQ(rig.Application->Title(), "Karten Start");
  EXPECT_EQ(rig.Form->wb->Width(), 404);
  ASSERT_EQ(rig.Browser->Navigations.size(), 1u);
  EXPECT_EQ(rig.Browser->Navigations[0],
            rig.State().ServerBase +
                "index.php?action=getpage&param2=2&v101=1.4&screenwidth=1280&screenheight=1024"
                "&id=101&launcherv=7&affid=");
  const auto requests = rig.Server.Requests();
  ASSERT_EQ(requests.size(), 14u);
  EXPECT_EQ(requests[0], "/starter/server20/servers.txt");
  EXPECT_EQ(requests[13], "/starter/index.php?action=getbutton&param1=12");
  EXPECT_TRUE(rig.Shell.Calls.empty());
  EXPECT_EQ(rig.Ui.LoopRuns, 0);
  // A second OnShow or timer tick does nothing.
  rig.Form->Timer1Timer(nullptr);
  EXPECT_EQ(rig.Server.Requests().size(), 14u);
}

TEST(Startup, AffiliateOfInstallation101ChoosesTheServerList) {
  TLauncherRig rig({"/205"});
  rig.AddInstallation(101, {{"affid", "17"}});
  rig.AddInstallation(205, {{"affid", "33"}});
  rig.Start();
  rig.Show();
  EXPECT_TRUE(Requested(rig, "/starter/server2017/servers.txt"));
  ASSERT_EQ(rig.Browser->Navigations.size(), 1u);
  EXPECT_NE(rig.Browser->Navigations[0].find("&id=205&launcherv=&affid=33"), std::string::npos);

  TLauncherRig common({"/101"});
  common.AddInstallation(101, {{"affid", "0"}});
  common.Start();
  common.Show();
  EXPECT_TRUE(Requested(common, "/starter/server20/servers.txt"));
}

TEST(Startup, FailingButtonRowStartsTheGameAtOnce) {
  TLauncherRig rig({"/102"});
  rig.AddInstallation(102, {{"folder", "/games/herz"}, {"exe", "herz.exe"}});
  std::filesystem::remove(rig.Server.Scenario() + "/buttons.txt");  // every row answers 404
  rig.Start();
  rig.Show();

  ASSERT_EQ(rig.Shell.Calls.size(), 1u);
  EXPECT_EQ(rig.Shell.Calls[0].File, "\"/games/herz\\herz.exe\"");
  EXPECT_EQ(rig.Shell.Calls[0].Directory, "/games/herz");
  EXPECT_EQ(rig.State().Settings.InstallationId, 102);
  EXPECT_EQ(rig.State().ButtonTable[1].Action, "3");
  EXPECT_FALSE(rig.Form->Visible());
  EXPECT_TRUE(rig.Browser->Navigations.empty());
  EXPECT_TRUE(rig.Boxes().empty());
}

TEST(Startup, NoServerAtAllStillStartsTheGame) {
  TLauncherRig rig({"/101"});
  rig.AddInstallation(101, {{"folder", "/g"}, {"exe", "karo.exe"}});
  rig.Environment.ConfigServer = "http://127.0.0.1:1";  // nothing listens there
  rig.Start();
  rig.Show();
  EXPECT_EQ(rig.State().ServerBase, "");
  ASSERT_EQ(rig.Shell.Calls.size(), 1u);
  EXPECT_EQ(rig.Shell.Calls[0].File, "\"/g\\karo.exe\"");
}

TEST(Startup, AServerListThatIsNoWebAddressCountsAsNone) {
  for (const std::string list : {"\\\\127.0.0.1\\share\\", "file:///tmp/", "C:\\x\\"}) {
    TLauncherRig rig({"/101"});
    rig.Server.Put("servers.txt", list);
    rig.Start();
    rig.Show();
    EXPECT_EQ(rig.State().ServerBase, "") << list;
    // As without a server list: the page address is built on an empty base.
    ASSERT_EQ(rig.Browser->Navigations.size(), 1u) << list;
    EXPECT_EQ(rig.Browser->Navigations[0].rfind("index.php?action=getpage", 0), 0u) << list;
  }
  TLauncherRig upper({"/101"});
  const std::string base = "HTTP://127.0.0.1:" + std::to_string(upper.Server.Port()) + "/";
  upper.Server.Put("servers.txt", base);
  upper.Start();
  upper.Show();
  EXPECT_EQ(upper.State().ServerBase, base);
  ASSERT_EQ(upper.Browser->Navigations.size(), 1u);
  EXPECT_EQ(upper.Browser->Navigations[0].rfind(base + "index.php?action=getpage", 0), 0u);
}

TEST(Startup, UpdateExeWithoutParametersOnlyTellsWhereToStart) {
  TLauncherRig rig({}, "/opt/games/Update.exe");
  rig.Start();
  rig.Show();
  ASSERT_EQ(rig.Boxes().size(), 1u);
  EXPECT_EQ(rig.Boxes()[0].text,
            Utf8ToCp1252("Starten Sie das Programm über das Startmenü oder Pelmorix.exe, um "
                         "Informationen zu Updates zu erhalten."));
  EXPECT_FALSE(rig.Form->Visible());
  EXPECT_EQ(rig.Form->Width(), 0);
  EXPECT_EQ(rig.Server.Requests().size(), 1u);  // the server list only

  TLauncherRig withParameters({"/101"}, "/opt/games/Update.exe");
  withParameters.Start();
  withParameters.Show();
  EXPECT_TRUE(withParameters.Boxes().empty());
  EXPECT_EQ(withParameters.Server.Requests().size(), 14u);
}

TEST(Startup, OtherProgramNamesStartPelmorixExe) {
  TLauncherRig other({}, "/opt/games/starter.bin");
  other.Start();
  other.Show();
  ASSERT_EQ(other.Shell.Calls.size(), 1u);
  EXPECT_EQ(other.Shell.Calls[0].File, "Pelmorix.exe");
  EXPECT_EQ(other.Shell.Calls[0].Window, THeadlessBackend::kDesktopWindow);

  TLauncherRig own({}, "/opt/games/Pelmorix.exe");
  own.AddInstallation(101, {{"version", "2"}});
  own.Start();
  own.Show();
  EXPECT_TRUE(own.Shell.Calls.empty());
  ASSERT_EQ(own.Browser->Navigations.size(), 1u);
  EXPECT_NE(own.Browser->Navigations[0].find("&id=101&"), std::string::npos);
}

TEST(Startup, OnlyALowerCaseThirdParameterStartsThePatchCommand) {
  TLauncherRig upper({"/101", "/0", "/ACTION4"});
  upper.Start();
  upper.Show();
  EXPECT_FALSE(Requested(upper, "/index.php"));  // no write probe

  TLauncherRig rig({"/101", "/0", "/action4"});
  rig.Start();
  rig.Show();
  EXPECT_EQ(rig.State().ButtonTable[4].Action, "4");
  EXPECT_EQ(rig.State().Settings.SelectedInstallation, 101);
  EXPECT_TRUE(Requested(rig, "/index.php"));  // the write probe
}

}  // namespace
}  // namespace pelmorix
