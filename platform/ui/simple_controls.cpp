// Property setters of the panel, the label, the progress bar and the timer.
#include <algorithm>

#include "platform/ui/label.h"
#include "platform/ui/panel.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/timer.h"

namespace pelmorix {

void TPanel::SetBevelOuter(TPanelBevel bevel) {
  if (bevel == bevel_outer_) return;
  bevel_outer_ = bevel;
  Changed();
}

void TLabel::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Changed();
}

void TLabel::SetAutoSize(bool value) {
  if (value == auto_size_) return;
  auto_size_ = value;
  Changed();
}

void TProgressBar::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  position_ = std::clamp(position_, min_, max_);
  Changed();
}

void TProgressBar::SetPosition(int position) {
  position = std::clamp(position, min_, max_);
  if (position == position_) return;
  position_ = position;
  Changed();
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed();
}

void TTimer::SetInterval(unsigned milliseconds) {
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  Changed();
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}

}  // namespace pelmorix
