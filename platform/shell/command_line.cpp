#include "platform/shell/command_line.h"

namespace pelmorix {
namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t'; }

// Reads one argument starting at text[i], which is not a separator; i ends after it.
std::string ReadArgument(const std::string& text, size_t& i) {
  std::string argument;
  bool quoted = false;
  while (i < text.size() && (quoted || !IsSeparator(text[i]))) {
    const char c = text[i];
    if (c == '\\') {
      size_t count = 0;
      while (i < text.size() && text[i] == '\\') ++count, ++i;
      if (i < text.size() && text[i] == '"') {
        argument.append(count / 2, '\\');
        if (count % 2 == 1) argument += '"', ++i;
      } else {
        argument.append(count, '\\');
      }
    } else if (c == '"') {
      if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
        argument += '"';
        i += 2;
      } else {
        quoted = !quoted;
        ++i;
      }
    } else {
      argument += c;
      ++i;
    }
  }
  return argument;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& text) {
  std::vector<std::string> arguments;
  size_t i = 0;
  for (;;) {
    while (i < text.size() && IsSeparator(text[i])) ++i;
    if (i == text.size()) return arguments;
    arguments.push_back(ReadArgument(text, i));
  }
}

}  // namespace pelmorix
