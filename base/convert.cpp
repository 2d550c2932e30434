#include "base/convert.h"

#include "base/codepage.h"
#include "base/format.h"
#include "base/int64_convert.h"

namespace pelmorix {

bool TryStrToInt(const std::string& text, int32_t& value) {
  int64_t wide = 0;
  if (!TryStrToInt64(text, wide) || wide > INT32_MAX || wide < INT32_MIN) return false;
  value = static_cast<int32_t>(wide);
  return true;
}

int32_t StrToInt(const std::string& text) {
  int32_t value = 0;
  if (!TryStrToInt(text, value)) {
    throw EConvertError(
        Format(Utf8ToCp1252("'%s' ist kein gültiger Integerwert").c_str(), text.c_str()));
  }
  return value;
}

int32_t StrToIntDef(const std::string& text, int32_t fallback) {
  int32_t value = 0;
  return TryStrToInt(text, value) ? value : fallback;
}

bool TryHexToUInt(const std::string& text, uint32_t& value) {
  if (text.empty()) return false;
  uint64_t result = 0;
  for (const char c : text) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return false;
    }
    result = result * 16 + static_cast<uint64_t>(digit);
    if (result > UINT32_MAX) return false;
  }
  value = static_cast<uint32_t>(result);
  return true;
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

}  // namespace pelmorix
