#include "tools/demo-game/start_box.h"

#include "platform/ui/win32/win32_message_box.h"

namespace pelmorix {

void ShowStartBox(const std::string& text) {
  TWin32MessageBoxHost boxes;
  boxes.MessageBox(text, "Tarnovia Demospiel", MB_OK | MB_ICONINFORMATION);
}

}  // namespace pelmorix
