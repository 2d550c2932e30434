#include <string_view>

#include "http/cookie.h"

namespace pelmorix {

// Paths compare case-sensitively, as the request sends them. "/a" ending inside a segment of
// "/ab" is another path, not a parent of it.
bool PathMatches(std::string_view cookiePath, std::string_view requestPath) {
  if (cookiePath.empty()) return true;
  if (!requestPath.starts_with(cookiePath)) return false;
  return requestPath.size() == cookiePath.size() || cookiePath.back() == '/' ||
         requestPath[cookiePath.size()] == '/';
}

}  // namespace pelmorix
