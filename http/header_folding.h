#pragma once

#include <string>
#include <vector>

namespace pelmorix {

// Splits one header line into pieces of about the given width, breaking after a TAB, space or
// comma outside double quotes, and at any CR LF + space already in the text. Every piece loses
// its trailing blanks; continuation pieces begin with a space, and one left empty by that is
// dropped.
std::vector<std::string> FoldLine(const std::string& line, int width);

}  // namespace pelmorix
