#include "tests/e2e/e2e_fixture.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "tests/e2e/demo_window_steps.h"

namespace pelmorix::e2e {

LauncherEndToEnd::LauncherEndToEnd() : Work(Root / "work"), Registry(Root / "registry"), Server() {
  std::filesystem::create_directories(Work);
  std::filesystem::create_directories(Registry.Folder());
}

LauncherEndToEnd::~LauncherEndToEnd() {
  if (HasFailure()) KeepFailureEvidence();
  Launcher.reset();
}

TDemoGame LauncherEndToEnd::AddInstallation(const TInstallation& installation) {
  const TDemoGame game =
      TDemoGame::Create(installation.Id, Work + "/games/" + std::to_string(installation.Id));
  const int id = installation.Id;
  Registry.SetMachineValue(id, "folder", game.Folder);
  Registry.SetMachineValue(id, "exe", "game.exe");
  Registry.SetMachineValue(id, "uninstallexe", game.Uninstaller);
  const std::pair<const char*, const std::string*> optional[] = {
      {"version", &installation.Version},
      {"starterversion", &installation.StarterVersion},
      {"affid", &installation.AffiliateId}};
  for (const auto& [name, value] : optional) {
    if (!value->empty()) Registry.SetMachineValue(id, name, *value);
  }
  if (!installation.TempDir.empty()) Registry.SetUserValue(id, "tempdir", installation.TempDir);
  return game;
}

TStartedProgram& LauncherEndToEnd::StartLauncher(const TLauncherStart& start) {
  Launcher.reset();
  TProgramStart program;
  program.Argv = {start.Program};
  program.Argv.insert(program.Argv.end(), start.Arguments.begin(), start.Arguments.end());
  program.WorkingDirectory = start.WorkingDirectory.empty() ? Work : start.WorkingDirectory;
  program.Environment = {
      {"PELMORIX_REGISTRY", Registry.Folder()},
      {"PELMORIX_CONFIG_SERVER",
       start.ConfigServer.empty() ? Server.Address() : start.ConfigServer},
      {"PELMORIX_BROWSER_LOOPBACK_ONLY", "1"},
      {"NO_AT_BRIDGE", "1"},
      // The browser's caches stay inside the test's folder.
      {"XDG_CACHE_HOME", Root / "cache"},
      {"XDG_DATA_HOME", Root / "data"},
  };
  program.Environment.insert(program.Environment.end(), start.Environment.begin(),
                             start.Environment.end());
  program.OutputFile = Root / "launcher.out";
  Launcher = std::make_unique<TStartedProgram>(program);
  return *Launcher;
}

TXWindow LauncherEndToEnd::WaitForLauncherWindow(const std::string& title, double seconds) {
  if (!Launcher) throw std::runtime_error("the launcher was not started");
  const std::optional<TXWindow> window = WaitForWindow(Launcher->Pid(), seconds, title);
  if (!window) {
    throw std::runtime_error("the launcher showed no window" +
                             (title.empty() ? "" : " titled \"" + title + "\"") + " in " +
                             std::to_string(static_cast<int>(seconds)) + " s");
  }
  return *window;
}

void LauncherEndToEnd::ClickUpdateUntilWriteProbe(const TXWindow& window, int id) {
  if (!Server.WaitForRequest("action=getbuttonimage&id=" + std::to_string(id) + "&param1=4")) {
    throw std::runtime_error("the update button's picture was never asked for");
  }
  if (!WaitForGreyPicture(window, kUpdateX, kButtonY - 10)) {
    throw std::runtime_error("no update button");
  }
  const bool probed = ClickUntil(window, kUpdateX, kButtonY, [&] {
    const auto requests = Server.Requests();
    return std::find(requests.begin(), requests.end(), "/index.php") != requests.end();
  });
  if (!probed) throw std::runtime_error("clicks on the update button never reached the server");
}

std::string LauncherEndToEnd::CopyLauncherTo(const std::string& folder) const {
  for (const char* name : {"Pelmorix.exe", "Update.exe", "Helper1.exe"}) {
    CopyProgram(std::string(PELMORIX_BIN_DIR "/") + name, folder + "/" + name);
  }
  return folder + "/Pelmorix.exe";
}

void LauncherEndToEnd::KeepFailureEvidence() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string folder = std::string(PELMORIX_BIN_DIR "/../tests/e2e-failures/") +
                             test->test_suite_name() + "." + test->name();
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  try {
    SaveScreenshotPng(folder + "/screen.png");
  } catch (const std::exception& error) {
    std::cerr << "no screenshot: " << error.what() << "\n";
  }
  std::filesystem::copy_file(Root / "launcher.out", folder + "/launcher.out",
                             std::filesystem::copy_options::overwrite_existing, ignored);
  WriteTextFile(folder + "/server.out", Server.Output());
  std::string requests;
  for (const std::string& target : Server.Requests()) requests += target + "\n";
  WriteTextFile(folder + "/requests.txt", requests);
  std::cerr << "The screen, the launcher's output and the server's requests are in " << folder
            << "\n";
}

}  // namespace pelmorix::e2e
