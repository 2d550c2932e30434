#include "platform/ui/bitmap.h"

#include <algorithm>

namespace pelmorix {

TBitmap::TBitmap(int width, int height, TColor fill) { SetSize(width, height, fill); }

void TBitmap::SetSize(int width, int height, TColor fill) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  pixels_.assign(static_cast<size_t>(width_) * height_, fill & 0xFFFFFF);
}

TColor TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return clBlack;
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

void TBitmap::SetPixel(int x, int y, TColor color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * width_ + x] = color & 0xFFFFFF;
}

TBitmap TBitmap::Section(int left, int top, int width, int height) const {
  const int x0 = std::clamp(left, 0, width_), y0 = std::clamp(top, 0, height_);
  const int x1 = std::clamp(left + std::max(width, 0), 0, width_);
  const int y1 = std::clamp(top + std::max(height, 0), 0, height_);
  TBitmap part(x1 - x0, y1 - y0);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) part.SetPixel(x - x0, y - y0, Pixel(x, y));
  return part;
}

}  // namespace pelmorix
