#include "platform/ui/win32/win32_message_box.h"
#include "tools/helper1/failure_box.h"

namespace pelmorix {

void ShowFailureBox(const std::string& text, int&, char**&) {
  TWin32MessageBoxHost boxes;
  boxes.MessageBox(text, "Helper1", MB_OK | MB_ICONERROR);
}

}  // namespace pelmorix
