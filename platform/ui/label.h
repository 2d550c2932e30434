#pragma once

#include "platform/ui/control.h"

namespace pelmorix {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A line of text. With AutoSize the label takes its text's size; without it keeps its bounds.
class TLabel : public TControl {
 public:
  using TControl::TControl;

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool value);

 private:
  TAlignment alignment_ = taLeftJustify;
  bool auto_size_ = true;
};

}  // namespace pelmorix
