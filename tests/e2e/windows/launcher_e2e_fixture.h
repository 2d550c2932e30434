#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/e2e/demo_game.h"
#include "tests/e2e/windows/demo_server_under_wine.h"
#include "tests/e2e/windows/installation_registry.h"
#include "tests/e2e/windows/process_windows.h"
#include "tests/support/temp_folder.h"
#include "tests/support/windows_program.h"

namespace pelmorix::e2e {

// One whole Pelmorix.exe under wine against the demo server, on the test stage's display: the
// installations in the wine prefix's registry, a demo server with a private scenario copy,
// folders for the launcher's working directory and the installations, and the launcher
// process. Everything is stopped and removed when the test ends; after a failure the
// launcher's output is shown.
class LauncherEndToEndWin32 : public ::testing::Test {
 protected:
  LauncherEndToEndWin32();
  ~LauncherEndToEndWin32() override;

  // Registers installation `id` ("folder", "exe", "uninstallexe", "version", "starterversion")
  // and places its demo programs in Work\games\<id>, where the scenario's patch lists install
  // their files.
  TDemoGame AddInstallation(int id, const std::string& version = "1.0");
  // Starts the launcher (Pelmorix.exe of the build unless another is given) in Work with the
  // argument, against the configuration server (the demo server's when empty); under wine
  // with the markup engine (PELMORIX_BROWSER=markup) unless the test's environment names one.
  TWindowsProgram& StartLauncher(const std::string& argument, std::string program = "",
                                 const std::string& configServer = "");
  // The launcher's window with the demo's caption; fails the test when none appears in time.
  HWND WaitForLauncherWindow();
  // Copies Pelmorix.exe, Update.exe and Helper1.exe into Work, so that the launcher may replace
  // itself; gives the copy of Pelmorix.exe.
  std::string CopyLauncherToWork() const;

  // Within reach of the server's Unix path, which the fixture has no other use for.
  TTempFolder Root{"Z:/tmp"};
  std::string Work;  // the launcher's working directory ("temp\" lands here)
  TInstallationRegistry Registry;
  TDemoServerUnderWine Server;
  std::unique_ptr<TWindowsProgram> Launcher;
};

}  // namespace pelmorix::e2e
