#include "platform/ui/graphics.h"

#include <cmath>

namespace pelmorix {

TColor ColorToRGB(TColor color) {
  if ((color & 0x80000000) == 0) return color & 0xFFFFFF;
  switch (color & 0xFF) {
    case 0:
      return RGB(0xC8, 0xC8, 0xC8);  // scroll bar
    case 1:
      return RGB(0x00, 0x00, 0x00);  // desktop
    case 2:
      return RGB(0x99, 0xB4, 0xD1);  // active caption
    case 5:
      return RGB(0xFF, 0xFF, 0xFF);  // window
    case 6:
      return RGB(0x64, 0x64, 0x64);  // window frame
    case 8:
      return RGB(0x00, 0x00, 0x00);  // window text
    case 10:
      return RGB(0xB4, 0xB4, 0xB4);  // active border
    case 13:
      return RGB(0x33, 0x99, 0xFF);  // highlight
    case 14:
      return RGB(0xFF, 0xFF, 0xFF);  // highlight text
    case 15:
      return RGB(0xF0, 0xF0, 0xF0);  // button face
    case 16:
      return RGB(0xA0, 0xA0, 0xA0);  // button shadow
    case 17:
      return RGB(0x6D, 0x6D, 0x6D);  // grey text
    case 18:
      return RGB(0x00, 0x00, 0x00);  // button text
    case 20:
      return RGB(0xFF, 0xFF, 0xFF);  // button highlight
    case 21:
      return RGB(0x69, 0x69, 0x69);  // dark 3D shadow
    case 22:
      return RGB(0xE3, 0xE3, 0xE3);  // 3D light
    default:
      return 0;
  }
}

void TFont::SetName(std::string name) {
  if (name == name_) return;
  name_ = std::move(name);
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  Changed();
}

int TFont::Size() const { return static_cast<int>(std::lround(-height_ * 72.0 / PixelsPerInch)); }

void TFont::SetSize(int points) {
  SetHeight(-static_cast<int>(std::lround(points * static_cast<double>(PixelsPerInch) / 72.0)));
}

void TFont::SetStyle(TFontStyles style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TFont::Assign(const TFont& other) {
  if (other == *this) return;
  name_ = other.name_;
  height_ = other.height_;
  style_ = other.style_;
  color_ = other.color_;
  Changed();
}

bool TFont::operator==(const TFont& other) const {
  return name_ == other.name_ && height_ == other.height_ && style_ == other.style_ &&
         color_ == other.color_;
}

void TFont::Changed() {
  if (OnChange) OnChange();
}

}  // namespace pelmorix
