#include "platform/registry/reg_file.h"

#include "base/codepage.h"
#include "base/convert.h"
#include "base/format.h"
#include "base/text.h"
#include "platform/registry/reg_text_data.h"

namespace pelmorix {
namespace {

constexpr const char* kVersion5Header = "Windows Registry Editor Version 5.00";
constexpr const char* kVersion4Header = "REGEDIT4";

struct TParseState {
  std::vector<TRegFileSection>& Sections;
  bool Utf16Text = true;
};

// Splits the content into lines, dropping a carriage return before each line feed.
std::vector<std::string> SplitLines(const std::string& content) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// Reads a quoted text starting at text[pos] == '"'; pos ends after the closing quote.
bool ReadQuoted(const std::string& text, size_t& pos, std::string& out) {
  if (pos >= text.size() || text[pos] != '"') return false;
  out.clear();
  for (++pos; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c == '\\' && pos + 1 < text.size() && (text[pos + 1] == '\\' || text[pos + 1] == '"')) {
      ++pos;
    }
    out += text[pos];
  }
  return false;
}

bool ReadHexBytes(const std::string& text, std::string& bytes) {
  bytes.clear();
  size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos == text.size()) break;
    const size_t comma = text.find(',', pos);
    const std::string digits =
        Trim(text.substr(pos, comma == std::string::npos ? comma : comma - pos));
    uint32_t byte = 0;
    if (digits.size() > 2 || !TryHexToUInt(digits, byte)) return false;
    bytes += static_cast<char>(byte);
    if (comma == std::string::npos) break;
    pos = comma + 1;
    if (Trim(text.substr(pos)).empty()) return false;  // a trailing comma with nothing after it
  }
  return true;
}

// The data part of a value line: everything after the "=".
bool ReadValueData(const std::string& data, bool utf16Text, TRegFileValue& value) {
  if (data == "-") {
    value.Delete = true;
    return true;
  }
  if (!data.empty() && data[0] == '"') {
    size_t pos = 0;
    std::string text;
    if (!ReadQuoted(data, pos, text) || !Trim(data.substr(pos)).empty()) return false;
    value.Type = REG_SZ;
    value.Data = Utf8ToCp1252(text) + '\0';
    return true;
  }
  const size_t colon = data.find(':');
  if (colon == std::string::npos) return false;
  const std::string kind = LowerCase(Trim(data.substr(0, colon)));
  const std::string rest = data.substr(colon + 1);
  if (kind == "dword") {
    uint32_t number = 0;
    if (Trim(rest).size() > 8 || !TryHexToUInt(Trim(rest), number)) return false;
    value.Type = REG_DWORD;
    value.Data.clear();
    for (int i = 0; i < 4; ++i) value.Data += static_cast<char>((number >> (8 * i)) & 0xFF);
    return true;
  }
  if (kind == "hex") {
    value.Type = REG_BINARY;
  } else if (kind.size() > 5 && kind.compare(0, 4, "hex(") == 0 && kind.back() == ')') {
    uint32_t type = 0;
    if (!TryHexToUInt(kind.substr(4, kind.size() - 5), type)) return false;
    value.Type = type;
  } else {
    return false;
  }
  if (!ReadHexBytes(rest, value.Data)) return false;
  if (utf16Text && IsTextValueType(value.Type)) {
    std::string text;
    if (!Utf16LeToCp1252(value.Data, text)) return false;
    value.Data = text;
  }
  return true;
}

bool ReadValueLine(const std::string& line, TParseState& state) {
  if (state.Sections.empty()) return false;
  TRegFileValue value;
  size_t pos = 0;
  if (line[0] == '@') {
    pos = 1;
  } else {
    std::string name;
    if (!ReadQuoted(line, pos, name)) return false;
    value.Name = Utf8ToCp1252(name);
  }
  while (pos < line.size() && IsBlank(line[pos])) ++pos;
  if (pos >= line.size() || line[pos] != '=') return false;
  if (!ReadValueData(Trim(line.substr(pos + 1)), state.Utf16Text, value)) return false;
  state.Sections.back().Values.push_back(std::move(value));
  return true;
}

bool ReadSectionLine(const std::string& line, TParseState& state) {
  if (line.size() < 3 || line.back() != ']') return false;
  TRegFileSection section;
  std::string name = line.substr(1, line.size() - 2);
  if (name[0] == '-') {
    section.DeleteKey = true;
    name.erase(0, 1);
  }
  name = Utf8ToCp1252(name);
  const size_t slash = name.find('\\');
  section.RootName = name.substr(0, slash);
  if (slash != std::string::npos) section.Path = name.substr(slash + 1);
  if (section.RootName.empty() || !IsValidKeyPath(section.Path)) return false;
  state.Sections.push_back(std::move(section));
  return true;
}

// Joins a hex value line with the lines that continue it.
std::string JoinContinuedLine(const std::vector<std::string>& lines, size_t& index) {
  std::string line = TrimRight(lines[index]);
  const bool isHex = line.find("=hex") != std::string::npos;
  while (isHex && !line.empty() && line.back() == '\\' && index + 1 < lines.size()) {
    line.pop_back();
    line += Trim(lines[++index]);
  }
  return line;
}

}  // namespace

bool ParseRegFile(const std::string& content, std::vector<TRegFileSection>& sections,
                  std::string* error) {
  sections.clear();
  std::string text = content;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  // The Windows editor exports UTF-16LE with a byte-order mark.
  std::string singleByte;
  if (text.compare(0, 2, "\xFF\xFE") == 0 && Utf16LeToCp1252(text.substr(2), singleByte)) {
    text = Cp1252ToUtf8(singleByte);
  }
  const std::vector<std::string> lines = SplitLines(text);
  TParseState state{sections};
  size_t index = 0;
  while (index < lines.size() && Trim(lines[index]).empty()) ++index;
  const std::string header = index < lines.size() ? Trim(lines[index]) : "";
  if (header == kVersion4Header) {
    state.Utf16Text = false;
  } else if (header != kVersion5Header) {
    if (error != nullptr) *error = Format("line %zu: not a registry file", index + 1);
    return false;
  }
  for (++index; index < lines.size(); ++index) {
    const size_t first = index;
    const std::string line = JoinContinuedLine(lines, index);
    const std::string trimmed = TrimLeft(line);
    if (trimmed.empty() || trimmed[0] == ';') continue;
    const bool ok =
        trimmed[0] == '[' ? ReadSectionLine(trimmed, state) : ReadValueLine(trimmed, state);
    if (!ok) {
      if (error != nullptr) *error = Format("line %zu: cannot be read", first + 1);
      sections.clear();
      return false;
    }
  }
  return true;
}

void ApplyRegFileSections(const std::vector<TRegFileSection>& sections, const std::string& rootName,
                          TRegistryHive& hive) {
  for (const auto& section : sections) {
    if (!SameText(section.RootName, rootName)) continue;
    if (section.DeleteKey) {
      hive.DeleteKey(section.Path);
      continue;
    }
    TRegistryKey& key = hive.CreateKey(section.Path);
    for (const auto& value : section.Values) {
      if (value.Delete) {
        key.DeleteValue(value.Name);
      } else {
        key.SetValue(value.Name, value.Type, value.Data);
      }
    }
  }
}

}  // namespace pelmorix
