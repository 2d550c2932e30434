// Pelmorix.exe under wine against the demo server as a person uses it: the server's window and
// buttons, a click that starts the game, the start without any server, and the patch runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "launcher/patch_digests.h"
#include "launcher/patch_signature.h"
#include "tests/e2e/wait_until.h"
#include "tests/e2e/windows/demo_page_clicks.h"
#include "tests/e2e/windows/launcher_e2e_fixture.h"
#include "tests/support/loopback_targets.h"
#include "tests/support/unix_program.h"

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

// A launcher built with a key (Pelmorix-signing.exe), checking with the system's CNG.
class SignedPatchWin32 : public LauncherStartWin32 {
 protected:
  // Signs the scenario's patch 101 for this run's server: the list with the server's address,
  // its digests, and the signature by the build machine's openssl with the test key.
  void SignPatch() {
    std::string list = ReadTextFile(Server.ScenarioFile("patches/101/list.txt"));
    for (size_t at; (at = list.find("{base}")) != std::string::npos;) {
      list.replace(at, 6, Server.Address() + "/");
    }
    std::map<std::string, std::string> digests;
    for (const char* name : {"liesmich.txt", "regeln.dat"}) {
      digests[name] = FileSha256(Server.ScenarioFile(std::string("patches/101/files/") + name));
    }
    const std::string digestsText = FormatPatchDigests(digests);
    Server.WriteScenarioFile("patches/101/list.txt", list);
    Server.WriteScenarioFile("patches/101/list.txt.sha256", digestsText);
    const std::string message = Root / "signed-message";
    WriteTextFile(message, PatchSignedMessage("101", "1", list, digestsText));
    const std::string signature = UnixPath(Server.ScenarioFile("patches/101/list.txt.sig"));
    // Moved into place whole, so the wait below never sees half a signature.
    StartUnixProgram({"/bin/sh", "-c",
                      "/usr/bin/openssl dgst -sha256 -sign " PELMORIX_SIGNING_KEY " -out " +
                          signature + ".part " + UnixPath(message) + " && /bin/mv " + signature +
                          ".part " + signature});
    ASSERT_TRUE(WaitUntil(
        [&] { return std::filesystem::exists(Server.ScenarioFile("patches/101/list.txt.sig")); },
        30))
        << "openssl wrote no signature within 30 s";
  }
  void StartSigningLauncher() { StartLauncher("/101", PELMORIX_BIN_DIR "/Pelmorix-signing.exe"); }
  // The text of the launcher's first box that holds the text, or "" after 60 s.
  std::string WaitForBoxWith(const std::string& text) {
    std::string found;
    WaitUntil(
        [&] {
          for (HWND shown : VisibleWindowsOf(Launcher->Id())) {
            if (ChildTexts(shown).find(text) != std::string::npos) found = ChildTexts(shown);
          }
          return !found.empty();
        },
        60);
    return found;
  }
};

TEST_F(SignedPatchWin32, TheSignedPatchIsInstalled) {
  const TDemoGame game = AddInstallation(101, "1.0");
  SignPatch();
  if (HasFatalFailure()) return;
  StartSigningLauncher();
  AcceptPatchOffer(101);
  if (HasFatalFailure()) return;
  EXPECT_NE(WaitForBoxWith("wurde erfolgreich installiert"), "")
      << "no success message; the server saw: " << ::testing::PrintToString(Server.Requests());
  EXPECT_EQ(Registry.MachineValue(101, "version"), "1.1");
  EXPECT_EQ(ReadTextFile(game.Folder + "\\regeln.dat"),
            ReadTextFile(Server.ScenarioFile("patches/101/files/regeln.dat")));
  EXPECT_TRUE(Server.WaitForRequest("/patches/101/list.txt.sig", 0));
}

TEST_F(SignedPatchWin32, ATamperedFileIsRemovedAndNothingIsInstalled) {
  const TDemoGame game = AddInstallation(101, "1.0");
  SignPatch();
  if (HasFatalFailure()) return;
  Server.WriteScenarioFile("patches/101/files/regeln.dat", "not what was signed");
  StartSigningLauncher();
  AcceptPatchOffer(101);
  if (HasFatalFailure()) return;
  // Up to the first letter that the box's code page may show otherwise.
  const std::string failure = WaitForBoxWith("Fehler: ");
  EXPECT_NE(failure.find("Fehler: Die Datei regeln.dat ist besch"), std::string::npos) << failure;
  EXPECT_FALSE(std::filesystem::exists(game.Folder + "\\liesmich.txt"));
  EXPECT_FALSE(std::filesystem::exists(Work + "\\temp\\regeln.dat"));
  EXPECT_EQ(Registry.MachineValue(101, "version"), "1.0");
}

}  // namespace
}  // namespace pelmorix::e2e
