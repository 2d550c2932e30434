#pragma once

#include <cstdint>
#include <vector>

#include "platform/ui/graphics.h"

namespace pelmorix {

// A 24-bit device-independent bitmap: Width x Height pixels, row 0 at the top.
class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(int width, int height, TColor fill = clBlack);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  // Resizes to width x height; every pixel becomes fill.
  void SetSize(int width, int height, TColor fill = clBlack);

  // Pixels outside the bitmap read as black and ignore writes.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);

  // The pixels of the rectangle left, top, width x height (clipped to the bitmap).
  TBitmap Section(int left, int top, int width, int height) const;

  bool operator==(const TBitmap& other) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<TColor> pixels_;
};

}  // namespace pelmorix
