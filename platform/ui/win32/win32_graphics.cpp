#include "platform/ui/win32/win32_graphics.h"

namespace pelmorix {

COLORREF SystemRGB(TColor color) {
  if (color & 0x80000000) return ::GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0xFFFFFF;
}

HFONT NewFont(const TFont& font) {
  const TFontStyles style = font.Style();
  return ::CreateFontA(
      font.Height(), 0, 0, 0, (style & fsBold) ? FW_BOLD : FW_NORMAL, (style & fsItalic) != 0,
      (style & fsUnderline) != 0, (style & fsStrikeOut) != 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.Name().c_str());
}

void FillRectangle(HDC dc, TColor color, int x, int y, int width, int height) {
  const RECT area{x, y, x + width, y + height};
  HBRUSH brush = ::CreateSolidBrush(SystemRGB(color));
  ::FillRect(dc, &area, brush);
  ::DeleteObject(brush);
}

void Frame3D(HDC dc, int x, int y, int width, int height, TColor light, TColor dark) {
  FillRectangle(dc, light, x, y, width, 1);
  FillRectangle(dc, light, x, y, 1, height);
  FillRectangle(dc, dark, x, y + height - 1, width, 1);
  FillRectangle(dc, dark, x + width - 1, y, 1, height);
}

}  // namespace pelmorix
