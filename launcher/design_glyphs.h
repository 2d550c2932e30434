#pragma once

#include "platform/ui/bitmap.h"

namespace pelmorix {

// The window's built-in button strips (drawn by tools/glyphs at build time): three 118 x 30
// cells each, for the up, disabled and pressed states.
constexpr int kDesignGlyphWidth = 354;
constexpr int kDesignGlyphHeight = 30;

extern const unsigned char kSpielenGlyphPixels[kDesignGlyphWidth * kDesignGlyphHeight * 3];
extern const unsigned char
    kUpdateInstallierenGlyphPixels[kDesignGlyphWidth * kDesignGlyphHeight * 3];
extern const unsigned char kDeinstallierenGlyphPixels[kDesignGlyphWidth * kDesignGlyphHeight * 3];

// A strip as a bitmap, from its RGB rows.
TBitmap DesignGlyph(const unsigned char* rgb);

}  // namespace pelmorix
