#include "platform/ui/glyph_cell.h"

#include <gtest/gtest.h>

namespace pelmorix {
namespace {

// A strip whose cells are filled with 10, 20, 30... in red, with a distinct bottom-left pixel.
TBitmap NumberedStrip(int width, int height, int cells) {
  TBitmap strip(width, height);
  const int cell_width = width / cells;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) strip.SetPixel(x, y, RGB(10 * (1 + x / cell_width), 0, 0));
  for (int i = 0; i < cells; ++i) strip.SetPixel(i * cell_width, height - 1, RGB(0, 0, 200 + i));
  return strip;
}

TEST(GlyphCell, CellsAreAThirdOfTheStripWithTheirBottomLeftPixelTransparent) {
  const TBitmap strip = NumberedStrip(354, 30, 3);
  const TGlyphCell pressed = GlyphCell(strip, 3, 2);
  EXPECT_EQ(118, pressed.Pixels.Width());
  EXPECT_EQ(30, pressed.Pixels.Height());
  EXPECT_EQ(RGB(30, 0, 0), pressed.Pixels.Pixel(0, 0));
  EXPECT_EQ(RGB(0, 0, 202), pressed.TransparentColor);
  EXPECT_FALSE(pressed.Opaque(0, 29));
  EXPECT_TRUE(pressed.Opaque(1, 29));

  // A pixel of exactly the key colour elsewhere in the cell is left out too; a near one is not.
  TBitmap marked = strip;
  marked.SetPixel(50, 5, RGB(0, 0, 200));
  marked.SetPixel(51, 5, RGB(0, 0, 201));
  const TGlyphCell up = GlyphCell(marked, 3, 0);
  EXPECT_EQ(RGB(0, 0, 200), up.TransparentColor);
  EXPECT_FALSE(up.Opaque(50, 5));
  EXPECT_TRUE(up.Opaque(51, 5));

  // Width 100: cells of 33 pixels, the pressed one starting at column 66.
  const TGlyphCell narrow = GlyphCell(NumberedStrip(100, 8, 3), 3, 2);
  EXPECT_EQ(33, narrow.Pixels.Width());
  EXPECT_EQ(RGB(30, 0, 0), narrow.Pixels.Pixel(1, 0));
}

TEST(GlyphCell, StateChoosesTheCell) {
  EXPECT_EQ(0, GlyphCellIndex(true, false, 3));
  EXPECT_EQ(1, GlyphCellIndex(false, false, 3));
  EXPECT_EQ(1, GlyphCellIndex(false, true, 3));
  EXPECT_EQ(2, GlyphCellIndex(true, true, 3));
  EXPECT_EQ(0, GlyphCellIndex(true, true, 2));
  EXPECT_EQ(0, GlyphCellIndex(false, false, 1));
}

TEST(GlyphCell, GlyphAndCaptionAreCentredTogether) {
  // No caption: the glyph alone is centred (118 x 30 in 180 x 32).
  TBitBtnPlacement place = PlaceBitBtnContent(180, 32, 118, 30, 0, 0, blGlyphLeft, -1, 4);
  EXPECT_EQ(31, place.GlyphLeft);
  EXPECT_EQ(1, place.GlyphTop);

  // Glyph 20 wide, spacing 4, text 40 wide: 64 in 100, so the glyph starts at 18.
  place = PlaceBitBtnContent(100, 25, 20, 10, 40, 13, blGlyphLeft, -1, 4);
  EXPECT_EQ(18, place.GlyphLeft);
  EXPECT_EQ(42, place.TextLeft);
  EXPECT_EQ(8, place.GlyphTop);
  EXPECT_EQ(6, place.TextTop);

  // A glyph larger than the button overhangs both edges equally (clipped when drawn).
  place = PlaceBitBtnContent(75, 25, 118, 30, 0, 0, blGlyphLeft, -1, 4);
  EXPECT_EQ(-21, place.GlyphLeft);
  EXPECT_EQ(-2, place.GlyphTop);

  // A fixed margin, and the glyph on the right.
  place = PlaceBitBtnContent(100, 25, 20, 10, 40, 13, blGlyphRight, 5, 4);
  EXPECT_EQ(75, place.GlyphLeft);
  EXPECT_EQ(31, place.TextLeft);

  // No glyph: the text alone is centred.
  place = PlaceBitBtnContent(75, 25, 0, 0, 41, 13, blGlyphLeft, -1, 4);
  EXPECT_EQ(17, place.TextLeft);
}

}  // namespace
}  // namespace pelmorix
