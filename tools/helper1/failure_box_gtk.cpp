#include <exception>
#include <iostream>

#include "platform/ui/gtk/gtk_backend.h"
#include "tools/helper1/failure_box.h"

namespace pelmorix {

void ShowFailureBox(const std::string& text, int& argc, char**& argv) {
  try {
    TGtkBackend desktop(argc, argv);
    desktop.MessageBoxes().MessageBox(text, "Helper1", MB_OK | MB_ICONERROR);
  } catch (const std::exception& error) {
    // No display: the caller has written the text to the error output.
    std::cerr << "Helper1: no message box: " << error.what() << "\n";
  }
}

}  // namespace pelmorix
