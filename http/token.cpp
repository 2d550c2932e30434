#include "http/token.h"

namespace pelmorix {

std::string CutToken(std::string& text, const std::string& delimiter, bool remove) {
  const size_t found = delimiter.empty() ? std::string::npos : text.find(delimiter);
  if (found == std::string::npos) {
    std::string token = remove ? std::move(text) : text;
    if (remove) text.clear();
    return token;
  }
  std::string token = text.substr(0, found);
  if (remove) text.erase(0, found + delimiter.size());
  return token;
}

}  // namespace pelmorix
