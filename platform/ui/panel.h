#pragma once

#include "platform/ui/control.h"

namespace pelmorix {

enum TPanelBevel { bvNone, bvLowered, bvRaised };

// A rectangle in the face colour with a bevelled edge that holds other controls.
class TPanel : public TWinControl {
 public:
  using TWinControl::TWinControl;

  TPanelBevel BevelOuter() const { return bevel_outer_; }
  void SetBevelOuter(TPanelBevel bevel);

 private:
  TPanelBevel bevel_outer_ = bvRaised;
};

}  // namespace pelmorix
