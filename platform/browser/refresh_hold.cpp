#include "platform/browser/refresh_hold.h"

namespace pelmorix {

bool TRefreshHold::MayRefreshNow() {
  if (!navigation_open_) return true;
  refresh_held_ = true;
  return false;
}

bool TRefreshHold::TakeHeldRefresh() {
  const bool due = refresh_held_ && !navigation_open_;
  if (due) refresh_held_ = false;
  return due;
}

}  // namespace pelmorix
