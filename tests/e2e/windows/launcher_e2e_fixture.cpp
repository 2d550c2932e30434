#include "tests/e2e/windows/launcher_e2e_fixture.h"

#include <filesystem>

namespace pelmorix::e2e {
namespace {

std::string WindowsPath(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

}  // namespace

LauncherEndToEndWin32::LauncherEndToEndWin32() : Work(WindowsPath(Root / "work")) {
  std::filesystem::create_directories(Work);
}

TDemoGame LauncherEndToEndWin32::AddInstallation(int id, const std::string& version) {
  const TDemoGame game = TDemoGame::Create(id, Work + "\\games\\" + std::to_string(id));
  Registry.SetMachineValue(id, "folder", game.Folder);
  Registry.SetMachineValue(id, "exe", "game.exe");
  Registry.SetMachineValue(id, "uninstallexe", WindowsPath(game.Uninstaller));
  Registry.SetMachineValue(id, "version", version);
  Registry.SetMachineValue(id, "starterversion", "1");
  return game;
}

TLauncherProcess& LauncherEndToEndWin32::StartLauncher(const std::string& argument,
                                                       std::string program,
                                                       const std::string& configServer) {
  Launcher.reset();
  if (program.empty()) program = WindowsPath(PELMORIX_BIN_DIR "/Pelmorix.exe");
  Launcher = std::make_unique<TLauncherProcess>(
      TProgramLaunch{.Program = program,
                     .Arguments = {argument},
                     .WorkingDirectory = Work,
                     .Environment = {{"PELMORIX_CONFIG_SERVER",
                                      configServer.empty() ? Server.Address() : configServer}}});
  return *Launcher;
}

HWND LauncherEndToEndWin32::WaitForLauncherWindow() {
  if (!Launcher) throw std::runtime_error("the launcher was not started");
  // Looked for in short turns, so that a launcher that ended is reported at once.
  HWND window = nullptr;
  for (int turn = 0; turn < 60 && window == nullptr && !Launcher->HasEnded(); ++turn) {
    window = WaitForWindowOf(Launcher->Id(), "Tarnovia Kartenspiele (Demo)", 1);
  }
  if (window == nullptr) {
    throw std::runtime_error(Launcher->HasEnded()
                                 ? "the launcher ended without its window"
                                 : "the launcher showed no window with the demo's caption");
  }
  return window;
}

std::string LauncherEndToEndWin32::CopyLauncherToWork() const {
  for (const char* name : {"Pelmorix.exe", "Update.exe", "Helper1.exe"}) {
    CopyProgram(std::string(PELMORIX_BIN_DIR "/") + name, Work + "\\" + name);
  }
  return Work + "\\Pelmorix.exe";
}

}  // namespace pelmorix::e2e
