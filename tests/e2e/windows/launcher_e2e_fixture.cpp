#include "tests/e2e/windows/launcher_e2e_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "tests/support/under_wine.h"

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

LauncherEndToEndWin32::~LauncherEndToEndWin32() {
  Launcher.reset();
  // Helper1.exe, started by the launcher, reports a failed replacement in a box and runs on
  // until it is answered; left so, it keeps the test program from ending under wine.
  for (int turn = 0; turn < 100; ++turn) {
    HWND box = ::FindWindowA("#32770", "Helper1");
    if (box == nullptr) break;
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    ::Sleep(100);
  }
  if (HasFailure()) {
    std::cerr << "The launcher's output:\n" << ReadTextFile(Root / "launcher.out") << "\n";
  }
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

TWindowsProgram& LauncherEndToEndWin32::StartLauncher(const std::string& argument,
                                                      std::string program,
                                                      const std::string& configServer) {
  Launcher.reset();
  program = WindowsPath(program.empty() ? PELMORIX_BIN_DIR "/Pelmorix.exe" : program);
  TProgramLaunch launch{.Program = program,
                        .Arguments = {argument},
                        .WorkingDirectory = Work,
                        .Environment = {{"PELMORIX_CONFIG_SERVER",
                                         configServer.empty() ? Server.Address() : configServer}},
                        .OutputFile = Root / "launcher.out"};
  // Wine's browser control completes no page, so the launcher's own markup engine stands in;
  // a run that names an engine itself keeps it.
  if (RunsUnderWine() && std::getenv("PELMORIX_BROWSER") == nullptr) {
    launch.Environment.emplace_back("PELMORIX_BROWSER", "markup");
  }
  Launcher = std::make_unique<TWindowsProgram>(launch);
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
