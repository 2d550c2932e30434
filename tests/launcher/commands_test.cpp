// The commands behind the button slots, run as a click runs them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/codepage.h"
#include "tests/launcher/launcher_rig.h"

namespace pelmorix {
namespace {

class CommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    game = rig.Folder / "games";
    std::filesystem::create_directories(game);
    rig.AddInstallation(101, {{"folder", game}, {"exe", "karo.exe"}, {"uninstallexe", "/u/karo"}});
    rig.AddInstallation(201,
                        {{"folder", "/games/two"}, {"exe", "zwei.exe"}, {"uninstallexe", "/u/2"}});
    rig.Start();
    rig.Show();
    rig.Shell.Calls.clear();
  }
  // Gives slot 3 the command and clicks it.
  void Click(const std::string& action) {
    rig.State().ButtonTable[3].Action = action;
    rig.State().Settings.InstallationId = 101;
    rig.Form->Visible() ? void() : rig.Form->ShowWindow();
    rig.Application->DispatchEvent([this] { rig.Form->BitBtn3->Click(); });
  }
  std::string game;
  TLauncherRig rig;
};

TEST_F(CommandsTest, StartGameQuotesThePathAndCloses) {
  Click("3");
  ASSERT_EQ(rig.Shell.Calls.size(), 1u);
  EXPECT_EQ(rig.Shell.Calls[0].File, "\"" + game + "\\karo.exe\"");
  EXPECT_EQ(rig.Shell.Calls[0].Parameters, "");
  EXPECT_EQ(rig.Shell.Calls[0].Directory, game);
  EXPECT_EQ(rig.Shell.Calls[0].ShowCommand, 5);
  EXPECT_EQ(rig.Shell.Calls[0].Window, rig.Form->Handle());
  EXPECT_FALSE(rig.Form->Visible());
}

TEST_F(CommandsTest, CommandSixPrefersTheUnderscoreVariant) {
  Click("6");
  ASSERT_EQ(rig.Shell.Calls.size(), 1u);
  EXPECT_EQ(rig.Shell.Calls[0].File, "\"" + game + "\\karo.exe\"");
  EXPECT_EQ(rig.Shell.Calls[0].Parameters, "/n");
  std::ofstream(game + "/karo_.exe") << "x";
  Click("6");
  ASSERT_EQ(rig.Shell.Calls.size(), 2u);
  EXPECT_EQ(rig.Shell.Calls[1].File, "\"" + game + "\\karo_.exe\"");
  EXPECT_EQ(rig.Shell.Calls[1].Parameters, "/3");
}

TEST_F(CommandsTest, ThirteenAndFifteenReadTheInstallationAHundredUp) {
  Click("13");
  ASSERT_EQ(rig.Shell.Calls.size(), 1u);
  EXPECT_EQ(rig.Shell.Calls[0].File, "\"/games/two\\zwei.exe\"");
  EXPECT_EQ(rig.State().Settings.SelectedInstallation, 201);
  Click("15");
  ASSERT_EQ(rig.Shell.Calls.size(), 2u);
  EXPECT_EQ(rig.Shell.Calls[1].File, "\"/u/2\"");
  EXPECT_EQ(rig.Shell.Calls[1].Directory, "");
  Click("5");
  EXPECT_EQ(rig.Shell.Calls[2].File, "\"/u/karo\"");
}

TEST_F(CommandsTest, FailedStartIsReportedAndTheWindowStillCloses) {
  rig.Shell.Answers.push_back(2);
  Click("3");
  ASSERT_EQ(rig.Boxes().size(), 1u);
  EXPECT_EQ(rig.Boxes()[0].text,
            Utf8ToCp1252("ERROR_FILE_NOT_FOUND: StartGame:\"" + game +
                         "\\karo.exe\"  konnte nicht ausgeführt werden. (Fehlercode: 2)"));
  EXPECT_FALSE(rig.Form->Visible());
}

TEST_F(CommandsTest, DownloadPageGoesQuotedToTheExplorer) {
  rig.AddInstallation(101, {{"affid", "9"}});
  Click("22");
  ASSERT_EQ(rig.Shell.Calls.size(), 1u);
  EXPECT_EQ(rig.Shell.Calls[0].Operation, "open");
  EXPECT_EQ(rig.Shell.Calls[0].File, "explorer");
  EXPECT_EQ(rig.Shell.Calls[0].Parameters,
            "\"" + rig.State().ServerBase + "index.php?action=getdllink&param1=9&param2=101\"");
  EXPECT_EQ(rig.Shell.Calls[0].ShowCommand, 0);
  EXPECT_TRUE(rig.Form->Visible());
}

TEST_F(CommandsTest, DownloadPageWithoutAWebAddressOpensNothing) {
  for (const std::string base : {"", "\\\\127.0.0.1\\share\\", "file:///tmp/"}) {
    rig.State().ServerBase = base;
    Click("22");
    EXPECT_TRUE(rig.Shell.Calls.empty()) << base;
    EXPECT_TRUE(rig.Boxes().empty()) << base;
  }
}

TEST_F(CommandsTest, OtherNumbersDoNothingAndTextsFailTheConversion) {
  for (const char* action : {"0", "7", "9", "12", "14", "23", "-1"}) Click(action);
  EXPECT_TRUE(rig.Shell.Calls.empty());
  EXPECT_TRUE(rig.Boxes().empty());
  EXPECT_TRUE(rig.Form->Visible());
  Click("abc");
  Click("");
  ASSERT_EQ(rig.Boxes().size(), 2u);
  EXPECT_EQ(rig.Boxes()[0].text, Utf8ToCp1252("'abc' ist kein gültiger Integerwert."));
  Click("1");
  EXPECT_EQ(rig.Ui.Minimized, 1);
  EXPECT_TRUE(rig.Form->Visible());
  Click("2");
  EXPECT_FALSE(rig.Form->Visible());
}

TEST_F(CommandsTest, FailedWriteProbeRestartsAsUpdateExe) {
  rig.State().ServerBase = "http://127.0.0.1:1/";  // the probe cannot reach a server
  Click("4");
  ASSERT_EQ(rig.Shell.Calls.size(), 1u);
  EXPECT_EQ(rig.Shell.Calls[0].File, "\"Update.exe\"");
  EXPECT_EQ(rig.Shell.Calls[0].Parameters, "/101 /0 /action4");
  EXPECT_EQ(rig.Shell.Calls[0].Directory, game);
  EXPECT_EQ(rig.Shell.Calls[0].Window, THeadlessBackend::kDesktopWindow);
  EXPECT_FALSE(rig.Form->Visible());
  EXPECT_TRUE(std::filesystem::exists(rig.WorkFolder + "/temp/test.exe"));
}

// The stand-in refuses to write a hive file without write permission bits, even to the
// superuser: an installation key that a standard user may read but not write.
TEST_F(CommandsTest, WriteProbeFailsWhereTheInstallationKeyRefusesWriting) {
  const auto hive = rig.Registry.Folder().HiveFileName("HKEY_LOCAL_MACHINE");
  std::filesystem::permissions(hive, std::filesystem::perms::owner_read);
  Click("4");
  ASSERT_EQ(rig.Shell.Calls.size(), 1u) << "the probe passed";
  EXPECT_EQ(rig.Shell.Calls[0].File, "\"Update.exe\"");
  EXPECT_TRUE(std::filesystem::exists(rig.WorkFolder + "/temp/test.exe"));

  // A missing installation key is no refusal: the patch run starts with its first request.
  rig.Shell.Calls.clear();
  rig.State().ButtonTable[4].Action = "4";
  rig.State().Settings.InstallationId = 150;
  rig.Form->ShowWindow();
  rig.Application->DispatchEvent([this] { rig.Form->BitBtn4->Click(); });
  EXPECT_TRUE(rig.Shell.Calls.empty());
  bool patchRun = false;
  for (const auto& request : rig.Server.Requests()) {
    patchRun = patchRun || request.find("id=150&action=getpatchmsg") != std::string::npos;
  }
  EXPECT_TRUE(patchRun) << ::testing::PrintToString(rig.Server.Requests());
}

TEST(WriteProbe, UnderAnUpdatePathOnlyTellsOfMissingRights) {
  TLauncherRig rig({"/101"}, "/opt/Update-Folder/Pelmorix.exe");
  rig.Start();
  rig.Show();
  rig.State().ServerBase = "http://127.0.0.1:1/";
  rig.State().ButtonTable[4].Action = "4";
  rig.Application->DispatchEvent([&] { rig.Form->BitBtn4->Click(); });
  EXPECT_TRUE(rig.Shell.Calls.empty());
  ASSERT_EQ(rig.Boxes().size(), 1u);
  EXPECT_EQ(rig.Boxes()[0].text,
            Utf8ToCp1252("Vorgang abgebrochen: Es sind nicht genügend Rechte vorhanden. Führen "
                         "Sie die Anwendung als Administrator aus."));
  EXPECT_TRUE(rig.Form->Visible());
}

}  // namespace
}  // namespace pelmorix
