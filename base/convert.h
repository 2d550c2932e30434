#pragma once

#include <cstdint>
#include <string>

#include "base/exception.h"

namespace pelmorix {

PELMORIX_DECLARE_EXCEPTION(EConvertError, Exception);

// Integer conversion of a text: an optional "+" or "-" followed by one or more decimal digits,
// within the signed 32-bit range. Anything else, the empty text and blanks included, fails.
bool TryStrToInt(const std::string& text, int32_t& value);

// As TryStrToInt, but a failure raises EConvertError "'<text>' ist kein gültiger Integerwert".
int32_t StrToInt(const std::string& text);

// As TryStrToInt, but a failure gives the default.
int32_t StrToIntDef(const std::string& text, int32_t fallback);

// Hexadecimal digits (either case, no prefix, no sign) within the unsigned 32-bit range.
bool TryHexToUInt(const std::string& text, uint32_t& value);

std::string IntToStr(int64_t value);

}  // namespace pelmorix
