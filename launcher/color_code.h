#pragma once

#include <cstdint>

namespace pelmorix {

// A colour value in the Windows layout 0x00BBGGRR; system colours are 0x80000000 + index.
using TColor = uint32_t;

// The button font colour for a row 8 colour code; unknown codes give grey.
TColor ColorFromCode(int32_t code);

}  // namespace pelmorix
