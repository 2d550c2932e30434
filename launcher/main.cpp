// Program entry of Pelmorix.exe (and of its copy Update.exe): the application, the main
// window with its browser, and the message loop until the window closes.
#include <cstdio>
#include <exception>
#include <string>

#include "launcher/form1.h"
#include "platform/browser/webkit/webkit_browser.h"
#include "platform/ui/application.h"
#include "platform/ui/gtk/gtk_backend.h"

namespace {

// The application's title before the server names one: the program's file name without its
// extension.
std::string ProgramTitle(const char* argv0) {
  std::string name = argv0 ? argv0 : "";
  const size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    pelmorix::TGtkBackend ui(argc, argv);
    pelmorix::TApplication Application(ui, ProgramTitle(argc > 0 ? argv[0] : nullptr));
    pelmorix::TForm1 Form1(Application);
    // FIXME: the unit start-ups and TakeOverInstance run here once they exist.
    pelmorix::TWebKitBrowser browser(ui, *Form1.wb);
    Application.Run();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
