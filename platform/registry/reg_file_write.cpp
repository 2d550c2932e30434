#include "base/codepage.h"
#include "base/format.h"
#include "platform/registry/reg_file.h"
#include "platform/registry/reg_text_data.h"

namespace pelmorix {
namespace {

// Hex data lines are wrapped, as the Windows editor does, so that no line runs past 80 columns.
constexpr size_t kWrapColumn = 76;

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : Cp1252ToUtf8(text)) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

// A plain string is written as quoted text when that form gives back exactly the same bytes:
// one final NUL, no other NUL, no line break.
bool FitsQuotedForm(const TRegistryValue& value) {
  const std::string& data = value.Data;
  if (value.Type != REG_SZ || data.empty() || data.back() != '\0') return false;
  return data.find_first_of(std::string("\r\n\0", 3)) == data.size() - 1;
}

void AppendHexData(std::string& out, size_t lineStart, const std::string& bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    out += Format("%02x", static_cast<unsigned char>(bytes[i]));
    if (i + 1 == bytes.size()) break;
    out += ',';
    if (out.size() - lineStart >= kWrapColumn) {
      out += "\\\n  ";
      lineStart = out.size() - 2;
    }
  }
}

void AppendValue(std::string& out, const TRegistryValue& value) {
  const size_t lineStart = out.size();
  out += value.Name.empty() ? "@" : Quoted(value.Name);
  out += '=';
  if (FitsQuotedForm(value)) {
    out += Quoted(value.Data.substr(0, value.Data.size() - 1));
  } else if (value.Type == REG_DWORD && value.Data.size() == 4) {
    uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(value.Data[i]);
    out += Format("dword:%08x", number);
  } else {
    const bool text = IsTextValueType(value.Type);
    out += value.Type == REG_BINARY ? std::string("hex:") : Format("hex(%x):", value.Type);
    AppendHexData(out, lineStart, text ? Cp1252ToUtf16Le(value.Data) : value.Data);
  }
  out += '\n';
}

}  // namespace

std::string WriteRegFile(const std::string& rootName, const TRegistryHive& hive) {
  std::string out = "Windows Registry Editor Version 5.00\n\n";
  for (const auto& [upper, key] : hive.Keys()) {
    if (key.Path.empty() && key.Values.empty()) continue;
    out += "[" + Cp1252ToUtf8(rootName) + (key.Path.empty() ? "" : "\\") + Cp1252ToUtf8(key.Path) +
           "]\n";
    for (const auto& value : key.Values) AppendValue(out, value);
    out += '\n';
  }
  return out;
}

}  // namespace pelmorix
