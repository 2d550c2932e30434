#pragma once

#include <string>

namespace pelmorix {

// Returns the text before the first occurrence of the delimiter (the whole text when the
// delimiter does not occur). With remove set, the text loses that part and the delimiter (and
// becomes empty when the delimiter does not occur). Matching is case-sensitive.
std::string CutToken(std::string& text, const std::string& delimiter, bool remove = true);

}  // namespace pelmorix
