#include "platform/ui/glyph_cell.h"

namespace pelmorix {

int GlyphCellIndex(bool enabled, bool pressed, int num_glyphs) {
  const int wanted = !enabled ? 1 : pressed ? 2 : 0;
  return wanted < num_glyphs ? wanted : 0;
}

TGlyphCell GlyphCell(const TBitmap& strip, int num_glyphs, int index) {
  TGlyphCell cell;
  if (num_glyphs < 1) num_glyphs = 1;
  const int cell_width = strip.Width() / num_glyphs;
  cell.Pixels = strip.Section(index * cell_width, 0, cell_width, strip.Height());
  if (!cell.Pixels.Empty()) cell.TransparentColor = cell.Pixels.Pixel(0, cell.Pixels.Height() - 1);
  return cell;
}

TBitBtnPlacement PlaceBitBtnContent(int width, int height, int glyph_width, int glyph_height,
                                    int text_width, int text_height, TButtonLayout layout,
                                    int margin, int spacing) {
  if (glyph_width == 0 || glyph_height == 0 || text_width == 0) spacing = 0;
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  const int room = horizontal ? width : height;
  const int glyph_size = horizontal ? glyph_width : glyph_height;
  const int text_size = horizontal ? text_width : text_height;
  if (margin < 0) margin = (room - (glyph_size + spacing + text_size)) / 2;

  int glyph_pos = 0, text_pos = 0;
  if (layout == blGlyphLeft || layout == blGlyphTop) {
    glyph_pos = margin;
    text_pos = glyph_pos + glyph_size + spacing;
  } else {
    glyph_pos = room - margin - glyph_size;
    text_pos = glyph_pos - spacing - text_size;
  }

  TBitBtnPlacement placement;
  if (horizontal) {
    placement.GlyphLeft = glyph_pos;
    placement.TextLeft = text_pos;
    placement.GlyphTop = (height - glyph_height + 1) / 2;
    placement.TextTop = (height - text_height + 1) / 2;
  } else {
    placement.GlyphTop = glyph_pos;
    placement.TextTop = text_pos;
    placement.GlyphLeft = (width - glyph_width + 1) / 2;
    placement.TextLeft = (width - text_width + 1) / 2;
  }
  return placement;
}

}  // namespace pelmorix
