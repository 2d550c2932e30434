#include "http/cookie_attributes.h"

#include "base/text.h"

namespace pelmorix {

void TCookieAttributes::Add(const std::string& piece) {
  const size_t equals = piece.find('=');
  if (equals == std::string::npos) {
    attributes_.push_back({UpperCase(piece), "", false});
  } else {
    attributes_.push_back(
        {UpperCase(std::string_view(piece).substr(0, equals)), piece.substr(equals + 1), true});
  }
}

std::string TCookieAttributes::Value(const std::string& name) const {
  for (const Attribute& attribute : attributes_) {
    if (attribute.HasValue && SameText(attribute.Name, name)) return attribute.Value;
  }
  return "";
}

bool TCookieAttributes::HasFlag(const std::string& flag) const {
  for (const Attribute& attribute : attributes_) {
    if (!attribute.HasValue && SameText(attribute.Name, flag)) return true;
  }
  return false;
}

void SplitCookieText(const std::string& text, std::string& name, std::string& value,
                     TCookieAttributes& attributes) {
  std::vector<std::string> pieces;
  if (text.find(';') == std::string::npos) {
    if (!text.empty()) pieces.push_back(text);
  } else {
    size_t start = 0;
    while (true) {
      const size_t end = text.find(';', start);
      if (end == std::string::npos) {
        if (start < text.size()) pieces.push_back(Trim(std::string_view(text).substr(start)));
        break;
      }
      pieces.push_back(Trim(std::string_view(text).substr(start, end - start)));
      start = end + 1;
    }
  }
  name.clear();
  value.clear();
  if (pieces.empty()) return;
  const size_t equals = pieces[0].find('=');
  if (equals != std::string::npos) {
    name = pieces[0].substr(0, equals);
    value = pieces[0].substr(equals + 1);
  }
  for (size_t i = 1; i < pieces.size(); ++i) attributes.Add(pieces[i]);
}

}  // namespace pelmorix
