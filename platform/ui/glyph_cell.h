#pragma once

#include "platform/ui/bitmap.h"
#include "platform/ui/button.h"

namespace pelmorix {

// One cell of a glyph strip prepared for drawing: the colour of its bottom-left pixel is its
// transparent colour, and no pixel of exactly that colour is drawn.
struct TGlyphCell {
  TBitmap Pixels;
  TColor TransparentColor = clBlack;

  bool Opaque(int x, int y) const { return Pixels.Pixel(x, y) != TransparentColor; }
};

// The cell for the button's state: 0 up, 1 disabled, 2 pressed; a strip with fewer cells
// shows cell 0 instead.
int GlyphCellIndex(bool enabled, bool pressed, int num_glyphs);

// Cell index of a strip of num_glyphs cells, each Width / num_glyphs wide.
TGlyphCell GlyphCell(const TBitmap& strip, int num_glyphs, int index);

struct TBitBtnPlacement {
  int GlyphLeft = 0, GlyphTop = 0;
  int TextLeft = 0, TextTop = 0;
};

// Places glyph and caption inside a button of width x height: glyph and text side by side (or
// above each other) with Spacing between them, Margin from the glyph's edge or, with Margin
// -1, centred together. An empty glyph or caption takes no spacing.
TBitBtnPlacement PlaceBitBtnContent(int width, int height, int glyph_width, int glyph_height,
                                    int text_width, int text_height, TButtonLayout layout,
                                    int margin, int spacing);

}  // namespace pelmorix
