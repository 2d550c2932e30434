#include "platform/ui/window_update_lock.h"

namespace pelmorix {

BOOL TWindowUpdateLock::Lock(HWND window) {
  if (window == 0) {
    if (holder_ == 0) return 0;
    const HWND released = holder_;
    holder_ = 0;
    freeze_(released, false);
    return 1;
  }
  if (holder_ != 0) return 0;
  holder_ = window;
  freeze_(window, true);
  return 1;
}

}  // namespace pelmorix
