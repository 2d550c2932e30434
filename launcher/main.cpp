// Program entry of Pelmorix.exe (and of Update.exe, the same program under the name that starts
// the patch path): the unit start-ups, the takeover of an older running copy, the main window
// with its browser, and the message loop until the window closes; the unit shut-downs follow in
// reverse order.
#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "launcher/built_in_patch_keys.h"
#include "launcher/form1.h"
#include "launcher/launcher_state.h"
#include "launcher/markup_only_browser.h"
#include "launcher/takeover.h"
#include "platform/desktop/desktop.h"
#include "platform/environment/environment.h"
#include "platform/files/files.h"
#include "platform/registry/registry_api.h"
#include "platform/shell/system_shell.h"
#include "platform/ui/application.h"

#ifndef PELMORIX_CONFIG_SERVER
#define PELMORIX_CONFIG_SERVER "http://127.0.0.1:8431"
#endif

namespace {

// The application's title before the server names one: the program's file name without its
// extension.
std::string ProgramTitle(const std::string& path) {
  std::string name = path;
  const size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

// The configuration server of this build, unless the environment names another (test rigs and
// demos do).
std::string ConfigServer() {
  std::string server = pelmorix::GetEnvironmentText("PELMORIX_CONFIG_SERVER");
  if (server.empty()) server = PELMORIX_CONFIG_SERVER;
  while (!server.empty() && server.back() == '/') server.pop_back();
  return server;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace pelmorix;
  try {
    TRegistryApi registry;
    TSystemShell shell;
    TLauncherEnvironment environment{registry,
                                     shell,
                                     {argv + (argc > 0 ? 1 : 0), argv + argc},
                                     GetModuleFileName(),
                                     ConfigServer()};
    TLauncher launcher(environment, BuiltInPatchKeys());
    TakeOverInstance(launcher.Environment);

    std::unique_ptr<TDesktop> desktop = MakeDesktop(argc, argv);
    TApplication Application(desktop->Ui(), ProgramTitle(environment.ExePath));
    TForm1 Form1(Application, launcher);
    std::unique_ptr<TBrowserBackend> browser =
        TMarkupOnlyBrowser::Chosen() ? std::make_unique<TMarkupOnlyBrowser>(Form1, *Form1.wb)
                                     : desktop->MakeBrowser(*Form1.wb);
    Application.Run();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
