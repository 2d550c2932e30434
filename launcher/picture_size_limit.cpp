#include "launcher/picture_size_limit.h"

namespace pelmorix {

bool PictureSizeAllowed(uint32_t width, uint32_t height) {
  return width <= kMaxPictureSide && height <= kMaxPictureSide;
}

}  // namespace pelmorix
