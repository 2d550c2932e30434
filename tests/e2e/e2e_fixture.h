#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/demo_game.h"
#include "tests/e2e/demo_server.h"
#include "tests/e2e/e2e_registry.h"
#include "tests/e2e/started_program.h"
#include "tests/e2e/x_desktop.h"
#include "tests/support/temp_folder.h"

namespace pelmorix::e2e {

// What AddInstallation registers; values left empty are not written.
struct TInstallation {
  int Id = 101;
  std::string Version = "1.0";
  std::string StarterVersion = "1";
  std::string AffiliateId;
  // The per-user folder of the button picture cache; it must end with "\".
  std::string TempDir;
};

// How StartLauncher runs the launcher.
struct TLauncherStart {
  std::vector<std::string> Arguments{"/101"};
  // Pelmorix.exe of the build, or a copy made with CopyLauncherTo.
  std::string Program = PELMORIX_BIN_DIR "/Pelmorix.exe";
  // Work when empty.
  std::string WorkingDirectory;
  // The demo server's address when empty.
  std::string ConfigServer;
  std::vector<std::pair<std::string, std::string>> Environment;
};

// One whole launcher against the demo server on the test's X server: a private registry
// folder, a demo server with a private scenario copy, folders for the launcher's working
// directory and the installations, and the launcher process. Everything is stopped and removed
// when the test ends; after a failure the screen, the launcher's output and the server's
// requests are kept in build/tests/e2e-failures.
class LauncherEndToEnd : public ::testing::Test {
 protected:
  LauncherEndToEnd();
  ~LauncherEndToEnd() override;

  // Registers the installation with reg ("folder", "exe", "uninstallexe", "version",
  // "starterversion", "affid" and the per-user "tempdir") and places its demo programs in
  // Work/games/<id>, where the demo scenario's patch lists install their files.
  TDemoGame AddInstallation(const TInstallation& installation);

  // Starts the launcher with PELMORIX_REGISTRY, PELMORIX_CONFIG_SERVER and
  // PELMORIX_BROWSER_LOOPBACK_ONLY set. One launcher per test; a second call stops the first.
  TStartedProgram& StartLauncher(const TLauncherStart& start = {});
  // The launcher's visible window (with the title, when one is given); fails the test when
  // none appears in time.
  TXWindow WaitForLauncherWindow(const std::string& title = "", double seconds = 60);
  // Waits until the update button of the installation shows its picture, then clicks it until
  // the write probe, the click's first request, reaches the server; fails the test otherwise.
  void ClickUpdateUntilWriteProbe(const TXWindow& window, int id);

  // Copies Pelmorix.exe, Update.exe and Helper1.exe into the folder, so that a test may let
  // the launcher replace or rename itself; gives the copy of Pelmorix.exe.
  std::string CopyLauncherTo(const std::string& folder) const;

  TTempFolder Root;
  std::string Work;  // the launcher's working directory ("temp\" lands here)
  TE2eRegistry Registry;
  TDemoServer Server;
  std::unique_ptr<TStartedProgram> Launcher;

 private:
  void KeepFailureEvidence();
};

}  // namespace pelmorix::e2e
