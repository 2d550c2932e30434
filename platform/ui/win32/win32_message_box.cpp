#include "platform/ui/win32/win32_message_box.h"

namespace pelmorix {

int TWin32MessageBoxHost::MessageBox(const std::string& text, const std::string& caption,
                                     uint32_t flags) {
  const bool yes_no = (flags & 0xF) == MB_YESNO;
  UINT style = (yes_no ? MB_YESNO : MB_OK) | ((flags & 0xF0) == MB_ICONERROR ? MB_ICONERROR : 0);
  // Without an owner the box must still stop the whole program, as the owned one does.
  if (!parent_) style |= MB_TASKMODAL;
  const int answer = ::MessageBoxA(parent_, text.c_str(), caption.c_str(), style);
  if (!yes_no) return IDOK;
  // A box that could not be shown (0) or was closed otherwise counts as No: a question is
  // never answered Yes by accident.
  return answer == IDYES ? IDYES : IDNO;
}

}  // namespace pelmorix
