#include "tools/helper1/helper1_arguments.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace pelmorix {

bool ParseHelper1CommandLine(const std::string& text, THelper1Arguments& parsed) {
  const size_t first = text.find_first_not_of(" \t");
  const size_t last = text.find_last_not_of(" \t");
  if (first == std::string::npos || text[first] != '/') return false;
  const std::string line = text.substr(first, last - first + 1);
  std::string* fields[] = {&parsed.Source, &parsed.Target, &parsed.Id};
  size_t start = 1;  // after the "/" of the part
  for (size_t i = 0; i < 3; ++i) {
    const size_t end = line.find(" /", start);
    if ((end == std::string::npos) != (i == 2)) return false;  // fewer or more than three parts
    *fields[i] = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (fields[i]->empty()) return false;
    start = end + 2;
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
