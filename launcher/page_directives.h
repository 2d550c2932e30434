#pragma once

#include <cstdint>
#include <string_view>

#include "launcher/button_table.h"

namespace pelmorix {

// Reads the directives of a page's markup into the table, before the buttons are laid out:
//   "id=" followed by decimal digits (the first "id=" only) sets the installation id;
//   "[" row "|" pieces... "]" replaces a row as a row reply would; the row number is the first
//   one or two characters of the block.
// The Mode of rows 1 to 12 is reset to "0" first, so only the page's blocks show buttons.
// An "id=" without digits, a block whose row number is not an integer, an empty block and a
// "[" without a later "]" raise EConvertError; the blocks before it stay applied.
// The markup is scanned once from left to right.
void ReadPageDirectives(std::string_view markup, int32_t& installationId, TButtonTable& table);

}  // namespace pelmorix
