#include "platform/signature/der_signature.h"

#include <cstdint>

namespace pelmorix {
namespace {

constexpr size_t kHalf = 32;

// Reads tag and short-form length at pos; a P-256 signature never needs the long form, and
// DER forbids it for lengths below 128.
bool ReadHeader(const std::string& der, size_t& pos, uint8_t tag, size_t& length) {
  if (der.size() - pos < 2 || static_cast<uint8_t>(der[pos]) != tag) return false;
  const uint8_t first = static_cast<uint8_t>(der[pos + 1]);
  if (first >= 0x80) return false;
  length = first;
  pos += 2;
  return der.size() - pos >= length;
}

bool ReadInteger(const std::string& der, size_t& pos, std::string& raw) {
  size_t length = 0;
  if (!ReadHeader(der, pos, 0x02, length) || length == 0) return false;
  std::string value = der.substr(pos, length);
  pos += length;
  if (static_cast<uint8_t>(value[0]) & 0x80) return false;  // negative
  if (value[0] == 0) {
    // A leading zero is allowed only to keep a high bit from reading as a sign.
    if (value.size() == 1 || !(static_cast<uint8_t>(value[1]) & 0x80)) return false;
    value.erase(0, 1);
  }
  if (value.size() > kHalf) return false;
  raw += std::string(kHalf - value.size(), '\0') + value;
  return true;
}

}  // namespace

bool DerSignatureToRaw(const std::string& der, std::string& raw) {
  std::string result;
  size_t pos = 0;
  size_t length = 0;
  if (!ReadHeader(der, pos, 0x30, length) || pos + length != der.size()) return false;
  if (!ReadInteger(der, pos, result) || !ReadInteger(der, pos, result)) return false;
  if (pos != der.size()) return false;
  raw = std::move(result);
  return true;
}

}  // namespace pelmorix
