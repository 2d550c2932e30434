#pragma once

#include <string>

#include "platform/registry/registry_types.h"

namespace pelmorix {

// Registry files hold the data of the text value types as UTF-16LE, while the values themselves
// are single-byte Windows-1252 texts; these convert between the two. A UTF-16 unit without a
// Windows-1252 form becomes "?"; an odd number of bytes fails.
std::string Cp1252ToUtf16Le(const std::string& text);
bool Utf16LeToCp1252(const std::string& bytes, std::string& text);

// The types whose data is text: REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ.
bool IsTextValueType(DWORD type);

}  // namespace pelmorix
