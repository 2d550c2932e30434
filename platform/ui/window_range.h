#pragma once

#include <cstdint>

namespace pelmorix {

// The places and sizes a window or control can have. X11 keeps window places in 16 signed
// bits, and Windows draws within the same range, so larger numbers from a server cannot be
// shown where they ask to be and would overflow the toolkit's own arithmetic.
constexpr int kMinWindowPlace = -32768;
constexpr int kMaxWindowPlace = 32767;
constexpr int kMaxWindowSize = 32767;

// A left or top edge within [kMinWindowPlace, kMaxWindowPlace].
int ClampWindowPlace(int64_t value);
// A width or height within [0, kMaxWindowSize].
int ClampWindowSize(int64_t value);
// A font size in points whose character height in pixels stays within kMaxWindowSize, either
// sign.
int ClampFontPoints(int64_t points);

}  // namespace pelmorix
