#include "platform/ui/button.h"

#include <algorithm>

namespace pelmorix {

void TButton::SetDefault(bool value) {
  if (value == default_) return;
  default_ = value;
  Changed();
}

void TButton::Click() {
  if (OnClick) OnClick(this);
}

void TBitBtn::SetGlyph(const TBitmap& glyph) {
  glyph_ = glyph;
  Changed();
}

void TBitBtn::SetNumGlyphs(int count) {
  count = std::clamp(count, 1, 4);
  if (count == num_glyphs_) return;
  num_glyphs_ = count;
  Changed();
}

void TBitBtn::SetLayout(TButtonLayout layout) {
  if (layout == layout_) return;
  layout_ = layout;
  Changed();
}

void TBitBtn::SetMargin(int margin) {
  if (margin == margin_) return;
  margin_ = margin;
  Changed();
}

void TBitBtn::SetSpacing(int spacing) {
  if (spacing == spacing_) return;
  spacing_ = spacing;
  Changed();
}

}  // namespace pelmorix
