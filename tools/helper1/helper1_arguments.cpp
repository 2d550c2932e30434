#include "tools/helper1/helper1_arguments.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace pelmorix {

bool ParseHelper1Arguments(const std::vector<std::string>& arguments, THelper1Arguments& parsed) {
  if (arguments.size() != 3) return false;
  std::string* fields[] = {&parsed.Source, &parsed.Target, &parsed.Id};
  for (size_t i = 0; i < 3; ++i) {
    const std::string& argument = arguments[i];
    if (argument.size() < 2 || argument.front() != '/') return false;
    *fields[i] = argument.substr(1);
  }
  return true;
}

bool TargetWaitFromEnvironment(std::chrono::milliseconds& wait) {
  const char* text = std::getenv("PELMORIX_HELPER1_WAIT_MS");
  if (text == nullptr || *text == '\0') {
    wait = kDefaultTargetWait;
    return true;
  }
  long long value = 0;
  const char* end = text + std::strlen(text);
  const auto [stop, problem] = std::from_chars(text, end, value);
  if (problem != std::errc() || stop != end || value < 0) return false;
  wait = std::chrono::milliseconds(value);
  return true;
}

}  // namespace pelmorix
