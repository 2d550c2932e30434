#pragma once

#include <functional>

#include "platform/windows_types.h"

namespace pelmorix {

// The single window-update lock of the desktop: at most one window holds it, and its painting
// stops while it does. Locking window 0 releases it.
class TWindowUpdateLock {
 public:
  using TFreeze = std::function<void(HWND window, bool frozen)>;
  explicit TWindowUpdateLock(TFreeze freeze) : freeze_(std::move(freeze)) {}

  // Takes the lock for the window (fails, giving FALSE, while any window holds it), or
  // releases it when the window is 0.
  BOOL Lock(HWND window);
  HWND Holder() const { return holder_; }

 private:
  TFreeze freeze_;
  HWND holder_ = 0;
};

}  // namespace pelmorix
