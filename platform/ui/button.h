#pragma once

#include "platform/ui/bitmap.h"
#include "platform/ui/control.h"

namespace pelmorix {

// A push button. The default button is the one Enter presses.
class TButton : public TWinControl {
 public:
  using TWinControl::TWinControl;

  bool Default() const { return default_; }
  void SetDefault(bool value);

  // Runs OnClick, as a press of the button does.
  virtual void Click();
  TNotifyEvent OnClick;

 private:
  bool default_ = false;
};

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// A button with a glyph strip: NumGlyphs cells side by side, each Width / NumGlyphs wide;
// cell 0 is drawn when the button is up, cell 1 when it is disabled, cell 2 while it is pressed.
class TBitBtn : public TButton {
 public:
  using TButton::TButton;

  const TBitmap& Glyph() const { return glyph_; }
  // The button keeps its own copy.
  void SetGlyph(const TBitmap& glyph);

  int NumGlyphs() const { return num_glyphs_; }
  void SetNumGlyphs(int count);

  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout layout);
  // Pixels between the edge and the glyph; -1 centres glyph and caption together.
  int Margin() const { return margin_; }
  void SetMargin(int margin);
  // Pixels between the glyph and the caption.
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);

 private:
  TBitmap glyph_;
  int num_glyphs_ = 1;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
};

}  // namespace pelmorix
