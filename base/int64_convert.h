#pragma once

#include <cstdint>
#include <string>

namespace pelmorix {

// As TryStrToInt, within the signed 64-bit range.
bool TryStrToInt64(const std::string& text, int64_t& value);

}  // namespace pelmorix
