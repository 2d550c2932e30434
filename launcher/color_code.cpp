#include "launcher/color_code.h"

namespace pelmorix {

TColor ColorFromCode(int32_t code) {
  switch (code) {
    case 0:
      return 0x000000;  // black
    case 1:
      return 0xFF0000;  // blue
    case 2:
      return 0x0000FF;  // red
    case 3:
      return 0x00FFFF;  // yellow
    case 4:
      return 0x008000;  // green
    case 5:
      return 0xFFFFFFFF;  // all bits set
    case 6:
      return 0x1FFFFFFF;  // no colour
    case 7:
      return 0x8000000A;  // system colour: active window border
    case 8:
      return 0x80000005;  // system colour: window background
    case 255:
      return 0xFFFFFF;  // white
    default:
      return 0x808080;  // grey
  }
}

}  // namespace pelmorix
