#include "platform/ui/window_range.h"

#include <algorithm>

#include "platform/ui/graphics.h"

namespace pelmorix {

int ClampWindowPlace(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, kMinWindowPlace, kMaxWindowPlace));
}

int ClampWindowSize(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, 0, kMaxWindowSize));
}

int ClampFontPoints(int64_t points) {
  constexpr int64_t limit = int64_t{kMaxWindowSize} * 72 / TFont::PixelsPerInch;
  return static_cast<int>(std::clamp<int64_t>(points, -limit, limit));
}

}  // namespace pelmorix
