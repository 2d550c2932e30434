// The patch run against the demo server: the question, the progress panel, downloads into
// "temp", the installation, the version write and every way the run can end early.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "base/codepage.h"
#include "tests/launcher/launcher_rig.h"
#include "tests/support/scripted_server.h"

namespace pelmorix {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class PatchRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.AddInstallation(101, {{"version", "1.0"}, {"folder", rig.WorkFolder}});
    rig.Start();
    rig.Show();
    rig.Shell.Calls.clear();
    rig.State().Settings.InstallationId = 101;
    rig.Ui.OnProcessMessages = [this] {
      const int position = rig.Form->ProgressBar1->Position();
      if (positions.empty() || positions.back() != position) positions.push_back(position);
      const std::string& label = rig.Form->Label1->Caption();
      if (labels.empty() || labels.back() != label) labels.push_back(label);
      if (onPump) onPump();
    };
  }
  // A patch of type "1" whose list names the given files ("url|name|target|" each).
  void Offer(const std::string& type, int count, const std::string& files,
             const std::string& message = "") {
    rig.Server.Put("patches/101/message.txt", message);
    rig.Server.Put("patches/101/url.txt", "{base}patches/101/list.txt");
    rig.Server.Put("patches/101/type.txt", type);
    rig.Server.Put("patches/101/list.txt", "Karo|2.0|x|x|" + std::to_string(count) + "|" + files);
  }
  // n files "{base}files/f<k>.bin|f<k>.bin|target<k>.bin|", served with their own names.
  std::string ServedFiles(int n) {
    std::string files;
    for (int k = 0; k < n; ++k) {
      const std::string name = "f" + std::to_string(k) + ".bin";
      rig.Server.Put("files/" + name, "data of " + name);
      files += "{base}files/" + name + "|" + name + "|target" + std::to_string(k) + ".bin|";
    }
    return files;
  }
  void Run() {
    rig.Application->DispatchEvent([this] { rig.Form->RunPatch(); });
  }

  TLauncherRig rig;
  std::vector<int> positions;
  std::vector<std::string> labels;
  std::function<void()> onPump;
};

TEST_F(PatchRunTest, ProgressFollowsTheTableForSmallAndFullLists) {
  const std::vector<std::pair<int, std::vector<int>>> cases = {
      {1, {5, 10, 80}},
      {2, {5, 10, 45, 80, 90}},
      {3, {5, 10, 33, 57, 80, 87, 93}},
      {5, {5, 10, 24, 38, 52, 66, 80, 84, 88, 92, 96}}};
  for (const auto& [n, expected] : cases) {
    positions.clear();
    Offer("1", n, ServedFiles(n));
    Run();
    // The last download ends where the installation begins.
    if (positions.back() != rig.Form->ProgressBar1->Position())
      positions.push_back(rig.Form->ProgressBar1->Position());
    EXPECT_EQ(positions, expected) << n << " files";
  }
  positions.clear();
  Offer("1", 101, ServedFiles(101));
  Run();
  EXPECT_NE(std::find(positions.begin(), positions.end(), 79), positions.end());
  EXPECT_EQ(std::find(positions.begin(), positions.end(), 80) -
                std::find(positions.begin(), positions.end(), 79),
            1);
  EXPECT_EQ(rig.Form->ProgressBar1->Position(), 100);  // the last installation step
  EXPECT_EQ(rig.Boxes().back().text, "Karo 2.0 wurde erfolgreich installiert.");
}

TEST_F(PatchRunTest, InstallsMovesWritesTheVersionAndReloadsTheStartPage) {
  std::ofstream(rig.WorkFolder + "/target1.bin") << "old";
  Offer("1", 2, ServedFiles(2));
  const size_t navigations = rig.Browser->Navigations.size();
  Run();
  EXPECT_EQ(ReadFile(rig.WorkFolder + "/target0.bin"), "data of f0.bin");
  EXPECT_EQ(ReadFile(rig.WorkFolder + "/target1.bin"), "data of f1.bin");
  EXPECT_FALSE(std::filesystem::exists(rig.WorkFolder + "/temp/f0.bin"));
  EXPECT_EQ(rig.InstalledVersion(101), "2.0");
  EXPECT_EQ(rig.State().Settings.InstallationIdText, "/101");
  EXPECT_EQ(rig.Browser->Navigations.size(), navigations + 1);
  EXPECT_FALSE(rig.Form->Panel1->Visible());
  ASSERT_EQ(rig.Boxes().size(), 1u);
  EXPECT_EQ(rig.Boxes()[0].text, "Karo 2.0 wurde erfolgreich installiert.");
  EXPECT_NE(std::find(labels.begin(), labels.end(),
                      "Karo 2.0 Download: target1.bin herunterladen (Datei 2 von 2).."),
            labels.end());
  EXPECT_NE(std::find(labels.begin(), labels.end(),
                      "Karo 2.0 Installation: target0.bin installieren (Datei 1 von 2).."),
            labels.end());
  // The panel covers the client area, its parts laid out from the middle.
  const int w = rig.Form->ClientWidth(), h = rig.Form->ClientHeight();
  EXPECT_EQ(rig.Form->Panel1->Width(), w);
  EXPECT_EQ(rig.Form->ProgressBar1->Top(), h / 2 - 20);
  EXPECT_EQ(rig.Form->ProgressBar1->Width(), w - 40);
  EXPECT_EQ(rig.Form->Button1->Left(), w / 2 - 40);
  EXPECT_EQ(rig.Form->Label1->Top(), h / 2 - 60);
}

TEST_F(PatchRunTest, TheQuestionDecidesAndAMessageWithoutBarAsksNothing) {
  Offer("1", 0, "", "Neu in 2.0|Satz eins.#13#10Satz zwei.");
  rig.Ui.Boxes.Answers.push_back(IDNO);
  Run();
  ASSERT_EQ(rig.Boxes().size(), 1u);
  EXPECT_EQ(rig.Boxes()[0].caption, "Neu in 2.0");
  EXPECT_EQ(rig.Boxes()[0].text, "Satz eins.\r\nSatz zwei.");
  EXPECT_EQ(rig.Boxes()[0].flags, MB_YESNO);
  EXPECT_EQ(rig.Server.RequestsContaining("getpatchurl"), 0u);
  EXPECT_EQ(rig.InstalledVersion(101), "1.0");

  Offer("1", 0, "", "nur ein Text");
  Run();
  ASSERT_EQ(rig.Boxes().size(), 2u);  // no question, straight to success
  EXPECT_EQ(rig.Boxes()[1].text, "Karo 2.0 wurde erfolgreich installiert.");
  EXPECT_EQ(rig.InstalledVersion(101), "2.0");
}

TEST_F(PatchRunTest, TypeThreeOpensTheAddressAndFetchesNoList) {
  Offer("3", 0, "");
  Run();
  ASSERT_EQ(rig.Shell.Calls.size(), 1u);
  EXPECT_EQ(rig.Shell.Calls[0].Operation, "open");
  EXPECT_EQ(rig.Shell.Calls[0].File, rig.State().ServerBase + "patches/101/list.txt");
  EXPECT_EQ(rig.Server.RequestsContaining("list.txt"), 0u);
  EXPECT_TRUE(rig.Boxes().empty());
  EXPECT_EQ(rig.InstalledVersion(101), "1.0");
}

TEST_F(PatchRunTest, TypeThreeHandsTheShellNothingButAWebAddress) {
  for (const std::string address : {"\\\\127.0.0.1\\share\\x.exe", "C:\\Temp\\x.exe",
                                    "file:///tmp/x.exe", " http://127.0.0.1/x"}) {
    SCOPED_TRACE(address);
    Offer("3", 0, "");
    rig.Server.Put("patches/101/url.txt", address);
    rig.Boxes().clear();
    Run();
    EXPECT_TRUE(rig.Shell.Calls.empty());
    ASSERT_EQ(rig.Boxes().size(), 1u);
    EXPECT_EQ(rig.Boxes()[0].text, Utf8ToCp1252("Fehler: Die Update-Adresse ist keine Webadresse. "
                                                "Führen Sie das Update erneut aus."));
  }
  Offer("3", 0, "");
  rig.Server.Put("patches/101/url.txt", "HTTPS://127.0.0.1/patch.html");
  Run();
  ASSERT_EQ(rig.Shell.Calls.size(), 1u);
  EXPECT_EQ(rig.Shell.Calls[0].File, "HTTPS://127.0.0.1/patch.html");
}

TEST_F(PatchRunTest, TypeTwoStartsEveryDownloadInOrder) {
  Offer("2", 2, ServedFiles(2));
  Run();
  ASSERT_EQ(rig.Shell.Calls.size(), 2u);
  EXPECT_EQ(rig.Shell.Calls[0].File, "temp\\f0.bin");
  EXPECT_EQ(rig.Shell.Calls[1].File, "temp\\f1.bin");
  EXPECT_TRUE(std::filesystem::exists(rig.WorkFolder + "/temp/f1.bin"));
  EXPECT_EQ(rig.InstalledVersion(101), "2.0");
  EXPECT_FALSE(rig.Form->Visible());  // a start succeeded: the launcher goes after the run
}

TEST_F(PatchRunTest, FailedDownloadMovesNothingAndNamesTheHttpError) {
  Offer("1", 2, ServedFiles(1) + "{base}files/missing.bin|missing.bin|target1.bin|");
  Run();
  ASSERT_EQ(rig.Boxes().size(), 1u);
  EXPECT_EQ(rig.Boxes()[0].text,
            Utf8ToCp1252("Fehler: HTTP/1.1 404 Not Found. Führen Sie das Update erneut aus."));
  EXPECT_FALSE(std::filesystem::exists(rig.WorkFolder + "/target0.bin"));
  EXPECT_TRUE(std::filesystem::exists(rig.WorkFolder + "/temp/f0.bin"));
  EXPECT_FALSE(rig.Form->Panel1->Visible());
  EXPECT_EQ(rig.InstalledVersion(101), "1.0");

  Offer("1", 1, "http://127.0.0.1:1/x|x.bin|t.bin|");  // nothing listens there
  Run();
  ASSERT_EQ(rig.Boxes().size(), 2u);
  EXPECT_EQ(rig.Boxes()[1].text.rfind("Fehler: ", 0), 0u);
  EXPECT_EQ(rig.InstalledVersion(101), "1.0");
}

TEST_F(PatchRunTest, ACancelBeforeADownloadStopsTheRunOnceItIsIn) {
  Offer("1", 3, ServedFiles(3));
  onPump = [this] {
    if (rig.Form->Button1->Enabled()) rig.Form->Button1Click(nullptr);
  };
  Run();
  EXPECT_TRUE(std::filesystem::exists(rig.WorkFolder + "/temp/f0.bin"));
  EXPECT_FALSE(std::filesystem::exists(rig.WorkFolder + "/temp/f1.bin"));
  EXPECT_FALSE(std::filesystem::exists(rig.WorkFolder + "/target0.bin"));
  ASSERT_EQ(rig.Boxes().size(), 1u);
  EXPECT_EQ(rig.Boxes()[0].text,
            Utf8ToCp1252("Fehler: Update abgebrochen. Führen Sie das Update erneut aus."));
  EXPECT_EQ(rig.InstalledVersion(101), "1.0");
  EXPECT_FALSE(rig.Form->Button1->Enabled());
  onPump = nullptr;
  Offer("1", 0, "");
  Run();  // the next run starts with the button enabled and the flag cleared
  EXPECT_EQ(rig.InstalledVersion(101), "2.0");
}

TEST_F(PatchRunTest, ADownloadMovesTheBarAndEndsAtOnceOnCancel) {
  // Half of the announced body, then a trickle that outlasts any test: only the cancel ends it.
  TScriptedServer files(
      {TConnectionScript()
           .ReadRequest()
           .Send("HTTP/1.1 200 OK\r\nContent-Length: 4000\r\n\r\n" + std::string(2000, 'a'))
           .SendInPieces(std::string(1000, 'b'), 1, 20)});
  Offer("1", 2,
        "http://127.0.0.1:" + std::to_string(files.Port()) + "/big.bin|big.bin|t0.bin|" +
            ServedFiles(1));
  std::vector<int> filtered;
  rig.Ui.OnFilteredProcessMessages = [this, &filtered] {
    filtered.push_back(rig.Form->ProgressBar1->Position());
    EXPECT_EQ(rig.Ui.LastFilter.Clicks, std::vector<const TComponent*>{rig.Form->Button1});
    EXPECT_FALSE(rig.Ui.LastFilter.BrowserEvents);
    rig.Form->Button1Click(nullptr);
  };
  Run();
  // The request ended at the click: the server saw the connection close mid-trickle.
  EXPECT_TRUE(files.WaitForFinished(1, 5000)) << "the download went on after the cancel";
  // The first file's share runs from 10 to 45; half of it had arrived.
  ASSERT_EQ(filtered.size(), 1u) << "no filtered pass while the body trickled";
  EXPECT_GE(filtered[0], 27);
  EXPECT_LT(filtered[0], 45);
  ASSERT_EQ(rig.Boxes().size(), 1u);
  EXPECT_EQ(rig.Boxes()[0].text,
            Utf8ToCp1252("Fehler: Update abgebrochen. Führen Sie das Update erneut aus."));
  EXPECT_GE(std::filesystem::file_size(rig.WorkFolder + "/temp/big.bin"), 2000u);
  EXPECT_FALSE(std::filesystem::exists(rig.WorkFolder + "/temp/f0.bin"));
  EXPECT_EQ(rig.InstalledVersion(101), "1.0");
}

TEST_F(PatchRunTest, TheLaunchersOwnExecutableGoesToHelper1) {
  rig.Server.Put("files/new.exe", "new launcher");
  rig.Server.Put("files/big.exe", "other");
  Offer("1", 2,
        "{base}files/new.exe|new.exe|Pelmorix.exe|{base}files/big.exe|big.exe|PELMORIX.EXE|");
  Run();
  ASSERT_EQ(rig.Shell.Calls.size(), 1u);
  EXPECT_EQ(rig.Shell.Calls[0].File, "Helper1.exe");
  EXPECT_EQ(rig.Shell.Calls[0].Parameters, "/temp\\new.exe /Pelmorix.exe /101");
  EXPECT_TRUE(std::filesystem::exists(rig.WorkFolder + "/temp/new.exe"));
  EXPECT_EQ(ReadFile(rig.WorkFolder + "/PELMORIX.EXE"), "other");  // upper case is moved
  EXPECT_TRUE(rig.Boxes().empty());
  EXPECT_FALSE(rig.Form->Visible());
  EXPECT_EQ(rig.InstalledVersion(101), "2.0");
}

// A non-empty folder at a target cannot be replaced even by the superuser: it stands for a file
// that another program holds.
TEST_F(PatchRunTest, AHeldTargetIsTriedAgainWhileTheWindowPaintsThenFailsTheRun) {
  const std::string held = rig.WorkFolder + "/target0.bin";
  std::filesystem::create_directories(held + "/inside");
  int retryPumps = 0;
  onPump = [&] {
    if (labels.back().find("Installation: target0.bin") == std::string::npos) return;
    if (++retryPumps == 3) std::filesystem::remove_all(held);  // the holder lets go
  };
  Offer("1", 2, ServedFiles(2));
  Run();
  EXPECT_EQ(ReadFile(held), "data of f0.bin") << "not placed after the holder let go";
  ASSERT_EQ(rig.Boxes().size(), 1u);
  EXPECT_EQ(rig.Boxes()[0].text, "Karo 2.0 wurde erfolgreich installiert.");

  // A holder that does not let go ends the run after the retries, with no version write.
  onPump = nullptr;
  rig.State().Settings.SelectedInstallation = 101;
  rig.State().Settings.WriteSetting("version", "1.0");
  std::filesystem::remove(held);
  std::filesystem::create_directories(held + "/inside");
  Run();
  ASSERT_EQ(rig.Boxes().size(), 2u);
  EXPECT_EQ(rig.Boxes()[1].text,
            Utf8ToCp1252("Fehler: Datei target0.bin kann nicht ersetzt werden. Führen Sie das "
                         "Update erneut aus."));
  EXPECT_TRUE(std::filesystem::exists(rig.WorkFolder + "/temp/f1.bin")) << "the loop went on";
  EXPECT_FALSE(rig.Form->Panel1->Visible());
  EXPECT_EQ(rig.InstalledVersion(101), "1.0");
}

// Lists may name targets that cannot take a file; these stay silent and the run succeeds.
TEST_F(PatchRunTest, TargetsThatCannotTakeAFileAreSkippedSilently) {
  // The running program's own file, here held as well, is not tried again.
  std::filesystem::create_directories(rig.WorkFolder + "/Update.exe/inside");
  rig.Launcher->Environment.ExePath = rig.WorkFolder + "/Update.exe";
  std::map<std::string, int> installPumps;  // by the label shown: more than one is a retry
  onPump = [&] { ++installPumps[labels.back()]; };
  ServedFiles(3);
  Offer("1", 3,
        "{base}files/f0.bin|f0.bin|nofolder\\t0.bin|{base}files/f1.bin|f1.bin|Update.exe|"
        "{base}files/f2.bin|f2.bin|t2.bin");  // the last target lacks its "|": it is empty
  Run();
  ASSERT_EQ(rig.Boxes().size(), 1u);
  EXPECT_EQ(rig.Boxes()[0].text, "Karo 2.0 wurde erfolgreich installiert.");
  EXPECT_EQ(rig.InstalledVersion(101), "2.0");
  EXPECT_FALSE(std::filesystem::exists(rig.WorkFolder + "/t2.bin"));
  EXPECT_TRUE(std::filesystem::exists(rig.WorkFolder + "/temp/f2.bin"));
  EXPECT_EQ(installPumps["Karo 2.0 Installation: nofolder\\t0.bin installieren (Datei 1 von 3).."],
            1);
  EXPECT_EQ(installPumps["Karo 2.0 Installation: Update.exe installieren (Datei 2 von 3).."], 1);
  EXPECT_EQ(installPumps["Karo 2.0 Installation:  installieren (Datei 3 von 3).."], 0);
}

TEST_F(PatchRunTest, ListsTooLongOrUnreadableAreRefusedBeforeAnyDownload) {
  Offer("1", 102, ServedFiles(2));
  Run();
  ASSERT_EQ(rig.Boxes().size(), 1u);
  EXPECT_EQ(rig.Boxes()[0].text,
            Utf8ToCp1252("Fehler: Die Patchliste enthält 102 Dateien, möglich sind höchstens "
                         "101. Führen Sie das Update erneut aus."));
  EXPECT_EQ(rig.Server.RequestsContaining("files/"), 0u);
  EXPECT_EQ(rig.Ui.ProcessMessagesCalls, 0);  // the panel never showed
  EXPECT_EQ(rig.InstalledVersion(101), "1.0");

  rig.Server.Put("patches/101/list.txt", "Karo|2.0|");
  Run();
  EXPECT_EQ(rig.Boxes()[1].text,
            Utf8ToCp1252("Fehler: '' ist kein gültiger Integerwert. Führen Sie das Update "
                         "erneut aus."));

  // A download name that climbs out of "temp", with either separator, refuses the whole list;
  // the targets may lie anywhere.
  for (const std::string climb : {"..\\..\\up.bin", "sub/../../up.bin"}) {
    Offer("1", 2, ServedFiles(1) + "{base}files/f0.bin|" + climb + "|target1.bin|");
    Run();
    EXPECT_EQ(rig.Boxes().back().text,
              Utf8ToCp1252("Fehler: Der Dateiname " + climb +
                           " führt aus dem Ordner temp hinaus. Führen Sie das Update erneut aus."));
  }
  EXPECT_EQ(rig.Server.RequestsContaining("files/"), 0u);
  EXPECT_FALSE(std::filesystem::exists(rig.WorkFolder + "/../up.bin"));
  ServedFiles(1);
  Offer("1", 1, "{base}files/f0.bin|f0.bin|..\\target0.bin|");
  Run();
  EXPECT_EQ(ReadFile(rig.WorkFolder + "/../target0.bin"), "data of f0.bin")
      << rig.Boxes().back().text;
  std::filesystem::remove(rig.WorkFolder + "/../target0.bin");
}

TEST_F(PatchRunTest, AFailingPatchMessageRequestReachesTheErrorReport) {
  std::filesystem::remove_all(rig.Server.Scenario() + "/patches");
  Run();
  ASSERT_EQ(rig.Boxes().size(), 1u);
  EXPECT_EQ(rig.Boxes()[0].text, "HTTP/1.1 404 Not Found.");
  EXPECT_EQ(rig.Boxes()[0].flags & MB_ICONERROR, MB_ICONERROR);
}

}  // namespace
}  // namespace pelmorix
