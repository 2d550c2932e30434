// Reads a head of header lines and writes values into it. Input: one byte for the fold width,
// one byte of settings, then lines: the lines before the first empty line form the head, the
// lines after it alternate between a name and a value given to SetValue.
#include <algorithm>
#include <string>
#include <vector>

#include "base/text.h"
#include "fuzz/fuzz_support.h"
#include "http/header_folding.h"
#include "http/header_list.h"

namespace pelmorix {
namespace {

// The first line of that name by a plain scan, for comparison with the list's own index.
int ScanForHeader(const TIdHeaderList& list, const std::string& name) {
  const std::string upper = UpperCase(name);
  for (int i = 0; i < list.Count(); ++i) {
    const std::string& line = list[i];
    const size_t colon = line.find(':');
    if (colon != std::string::npos && UpperCase(line.substr(0, colon)) == upper) return i;
  }
  return -1;
}

std::string WithoutBlanks(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (!IsBlank(c)) out += c;
  }
  return out;
}

// A header name as HTTP writes one: folding never breaks inside it.
bool IsTokenName(const std::string& name) {
  for (const char c : name) {
    if (IsBlank(c) || c == ':' || c == ',' || c == '"') return false;
  }
  return true;
}

void CheckFolding(const std::string& line, int width) {
  const std::vector<std::string> pieces = FoldLine(line, width);
  // Folding moves line breaks and drops trailing blanks; it never loses or adds a character.
  std::string joined;
  for (const std::string& piece : pieces) joined += piece;
  FUZZ_CHECK(WithoutBlanks(joined) == WithoutBlanks(line));
  if (line.find('\r') == std::string::npos && line.find('\n') == std::string::npos) {
    for (size_t i = 1; i < pieces.size(); ++i)
      FUZZ_CHECK(!pieces[i].empty() && pieces[i][0] == ' ');
  }
}

void CheckLookups(const TIdHeaderList& list, const std::string& name) {
  if (list.CaseSensitive) return;
  const int found = list.IndexOfHeader(name);
  FUZZ_CHECK(found == ScanForHeader(list, name));
  FUZZ_CHECK(list.ValueOf(name) == list.ValueOfLine(found));
  std::vector<std::string> values;
  list.ValuesOf(name, values);
  FUZZ_CHECK(values.empty() == (found < 0));
}

}  // namespace
}  // namespace pelmorix

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pelmorix;
  if (size < 2) return 0;
  const int width = data[0] == 0 ? 1024 : data[0] % 128;
  const uint8_t settings = data[1];
  const std::vector<std::string> lines = InputLines(InputText(data + 2, size - 2));

  TIdHeaderList list(width);
  list.UnfoldLines = (settings & 1) == 0;
  list.FoldLines = (settings & 2) == 0;
  list.CaseSensitive = (settings & 4) != 0;
  size_t i = 0;
  for (; i < lines.size() && !lines[i].empty(); ++i) list.Add(lines[i]);
  for (int j = 0; j < list.Count(); ++j) {
    const std::string name = list.NameOfLine(j);
    CheckLookups(list, name);
    list.ValueOfLine(j);
  }
  for (++i; i < lines.size(); i += 2) {
    const std::string& name = lines[i];
    const std::string value = i + 1 < lines.size() ? lines[i + 1] : "";
    CheckFolding(name + ": " + value, width);
    CheckLookups(list, name);
    list.SetValue(name, value);
    CheckLookups(list, name);
    if (!list.CaseSensitive && IsTokenName(name)) {
      FUZZ_CHECK((list.IndexOfHeader(name) >= 0) || value.empty());
    }
  }
  const std::string text = list.Text();
  FUZZ_CHECK(std::count(text.begin(), text.end(), '\n') >= list.Count());
  return 0;
}
