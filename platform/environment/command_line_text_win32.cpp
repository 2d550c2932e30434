#include "platform/environment/command_line_text.h"

// After the interface, so that the system header's macros cannot rewrite its declarations.
#include <windows.h>

namespace pelmorix {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The program's name ends as the C runtime ends it: a quoted name at the next quote (no
// escapes there), an unquoted one at the first blank.
size_t EndOfProgramName(const std::string& line) {
  if (!line.empty() && line[0] == '"') {
    const size_t quote = line.find('"', 1);
    return quote == std::string::npos ? line.size() : quote + 1;
  }
  size_t end = 0;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  return end;
}

}  // namespace

std::string CommandLineParameters() {
  const char* text = ::GetCommandLineA();
  const std::string line = text != nullptr ? text : "";
  size_t start = EndOfProgramName(line);
  while (start < line.size() && IsBlank(line[start])) ++start;
  return line.substr(start);
}

}  // namespace pelmorix
