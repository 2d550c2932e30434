#pragma once

#include <cstdint>

namespace pelmorix {

// The longest side of a picture the launcher decodes. A few hundred bytes of JPEG header can
// declare 65500 x 65500 pixels, which would take about 12 GB once decoded; button strips are a
// few hundred pixels wide, so this bound leaves every real picture room.
constexpr uint32_t kMaxPictureSide = 4096;

// Whether a picture of the size its header declares may be decoded: neither side longer than
// kMaxPictureSide. Every decoder asks this right after reading the header, before it allocates
// the pixels.
bool PictureSizeAllowed(uint32_t width, uint32_t height);

}  // namespace pelmorix
