#pragma once

#include <sys/types.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "launcher/form1.h"
#include "launcher/launcher_state.h"
#include "platform/browser/scripted_browser.h"
#include "platform/registry/registry_api.h"
#include "platform/shell/recording_shell.h"
#include "platform/ui/application.h"
#include "platform/ui/headless_backend.h"
#include "tests/support/temp_folder.h"

namespace pelmorix {

// The demo server as a real HTTP peer, playing both of the vendor's servers from a scenario
// folder that a test may change while it runs; it logs every request line.
class TDemoServer {
 public:
  // Copies the project's demo scenario into the folder and serves that copy.
  explicit TDemoServer(const std::string& folder);
  ~TDemoServer();
  TDemoServer(const TDemoServer&) = delete;
  TDemoServer& operator=(const TDemoServer&) = delete;

  int Port() const { return port_; }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }
  const std::string& Scenario() const { return scenario_; }
  // Replaces a scenario file.
  void Put(const std::string& name, const std::string& content) const;
  // The request lines so far, without "GET " and " HTTP/1.1".
  std::vector<std::string> Requests() const;
  // How many request lines so far hold the text.
  size_t RequestsContaining(const std::string& text) const;

 private:
  std::string scenario_;
  std::string log_;
  int port_ = 0;
  pid_t pid_ = -1;
};

// A getbutton table for the scenario: the given row 0, then rows 1 to 12 at place 0, 0 with
// command 0, and row 8 giving 12-point black text.
std::string ButtonRows(const std::string& row0);

// A whole launcher in-process: a fresh registry folder and working folder, a recording shell,
// no desktop, a scripted browser, and the demo server as its configuration server.
class TLauncherRig {
 public:
  explicit TLauncherRig(std::vector<std::string> params = {"/101"},
                        std::string exePath = "/opt/games/Pelmorix.exe");
  ~TLauncherRig();

  // Writes values of installation id: machine-wide, or per user for "tempdir".
  void AddInstallation(int id, const std::map<std::string, std::string>& values);
  // Builds the launcher and its window (the unit start-ups); the environment is fixed then.
  void Start();
  // Shows the window, which runs the start-up.
  void Show();
  // Loads a page in the scripted browser, as the start page would arrive.
  void LoadPage(const std::string& markup);

  TTempFolder Folder;
  std::string WorkFolder;
  TDemoServer Server;
  TRegistryApi Registry;
  TRecordingShell Shell;
  THeadlessBackend Ui;
  TLauncherEnvironment Environment;
  // The patch keys the launcher trusts; set before Start.
  std::vector<std::string> PatchKeys;
  std::unique_ptr<TApplication> Application;
  std::unique_ptr<TLauncher> Launcher;
  std::unique_ptr<TForm1> Form;
  std::unique_ptr<TScriptedBrowser> Browser;

  TLauncherState& State() { return Launcher->State; }
  std::vector<TRecordingMessageBoxHost::Box>& Boxes() { return Ui.Boxes.Boxes; }
  // The "version" the launcher's settings read for the installation now.
  std::string InstalledVersion(int id);

 private:
  std::string previousFolder_;
};

}  // namespace pelmorix
