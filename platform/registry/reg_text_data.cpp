#include "platform/registry/reg_text_data.h"

#include <array>
#include <cstdint>

#include "base/codepage.h"

namespace pelmorix {
namespace {

// Code point of every byte, read off the code-page conversion once.
const std::array<uint16_t, 256>& CodePoints() {
  static const std::array<uint16_t, 256> table = [] {
    std::array<uint16_t, 256> points{};
    for (int byte = 0; byte < 256; ++byte) {
      const std::string utf8 = Cp1252ToUtf8(std::string(1, static_cast<char>(byte)));
      uint32_t cp = static_cast<unsigned char>(utf8[0]);
      if (utf8.size() == 2) cp = ((cp & 0x1F) << 6) | (utf8[1] & 0x3F);
      if (utf8.size() == 3) {
        cp = ((cp & 0x0F) << 12) | ((utf8[1] & 0x3F) << 6) | (utf8[2] & 0x3F);
      }
      points[byte] = static_cast<uint16_t>(cp);
    }
    return points;
  }();
  return table;
}

char ByteOfUnit(uint16_t unit) {
  const auto& points = CodePoints();
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
  for (int byte = 0x80; byte < 0xA0; ++byte) {
    if (points[byte] == unit) return static_cast<char>(byte);
  }
  return '?';
}

}  // namespace

std::string Cp1252ToUtf16Le(const std::string& text) {
  const auto& points = CodePoints();
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (const char c : text) {
    const uint16_t unit = points[static_cast<unsigned char>(c)];
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

bool Utf16LeToCp1252(const std::string& bytes, std::string& text) {
  if (bytes.size() % 2 != 0) return false;
  text.clear();
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i < bytes.size(); i += 2) {
    const auto unit = static_cast<uint16_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8));
    text += ByteOfUnit(unit);
  }
  return true;
}

bool IsTextValueType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

}  // namespace pelmorix
