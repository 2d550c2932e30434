#pragma once

#include <cstdint>
#include <string>

namespace pelmorix {

// A JPEG picture of one colour, for tests that need real picture bytes.
std::string EncodeSolidJpeg(int width, int height, uint8_t r, uint8_t g, uint8_t b);

}  // namespace pelmorix
