#pragma once

#include "platform/ui/control.h"

namespace pelmorix {

// A bar filled in proportion to Position within Min to Max.
class TProgressBar : public TWinControl {
 public:
  using TWinControl::TWinControl;

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  // Both limits at once; the position is kept inside them.
  void SetRange(int min, int max);
  // A position outside the range is moved to its nearest limit.
  void SetPosition(int position);

 private:
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
};

}  // namespace pelmorix
