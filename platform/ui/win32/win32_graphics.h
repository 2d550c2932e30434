#pragma once

#include "platform/ui/graphics.h"
#include "platform/ui/win32/win32_api.h"

namespace pelmorix {

// The colour as the desktop shows it: system colours from the desktop's own scheme.
COLORREF SystemRGB(TColor color);

// The font at its pixel height (negative: character height, as CreateFontA takes it), weight
// and styles. The caller deletes it.
HFONT NewFont(const TFont& font);

void FillRectangle(HDC dc, TColor color, int x, int y, int width, int height);

// A one-pixel frame: light on the top and left edges, dark on the bottom and right edges.
void Frame3D(HDC dc, int x, int y, int width, int height, TColor light, TColor dark);

}  // namespace pelmorix
