#pragma once

#include "platform/ui/component.h"
#include "platform/ui/control.h"

namespace pelmorix {

// Raises OnTimer every Interval milliseconds while enabled (the backend keeps the time).
class TTimer : public TComponent {
 public:
  using TComponent::TComponent;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned milliseconds);

  // Runs OnTimer, as one elapsed interval does.
  void Timer();
  TNotifyEvent OnTimer;

 private:
  bool enabled_ = true;
  unsigned interval_ = 1000;
};

}  // namespace pelmorix
