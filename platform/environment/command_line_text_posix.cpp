#include "platform/environment/command_line_text.h"

#include <fstream>
#include <iterator>

namespace pelmorix {

std::string CommandLineParameters() {
  // The kernel keeps the arguments of the process, each ended by a NUL, the program first.
  std::ifstream file("/proc/self/cmdline", std::ios::binary);
  const std::string arguments{std::istreambuf_iterator<char>(file),
                              std::istreambuf_iterator<char>()};
  const size_t programEnd = arguments.find('\0');
  if (programEnd == std::string::npos) return std::string();
  std::string parameters = arguments.substr(programEnd + 1);
  if (!parameters.empty() && parameters.back() == '\0') parameters.pop_back();
  for (char& c : parameters) {
    if (c == '\0') c = ' ';
  }
  return parameters;
}

}  // namespace pelmorix
