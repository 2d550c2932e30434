#include "launcher/design_glyphs.h"

namespace pelmorix {

TBitmap DesignGlyph(const unsigned char* rgb) {
  TBitmap strip(kDesignGlyphWidth, kDesignGlyphHeight);
  for (int y = 0; y < kDesignGlyphHeight; ++y)
    for (int x = 0; x < kDesignGlyphWidth; ++x, rgb += 3)
      strip.SetPixel(x, y, RGB(rgb[0], rgb[1], rgb[2]));
  return strip;
}

}  // namespace pelmorix
