#include <string_view>

#include "base/text.h"
#include "http/cookie.h"

namespace pelmorix {
namespace {

bool IsDecimalByte(std::string_view part) {
  if (part.empty() || part.size() > 3) return false;
  int value = 0;
  for (const char c : part) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value <= 255;
}

}  // namespace

bool IsDottedIPv4(std::string_view host) {
  size_t start = 0;
  for (int part = 0; part < 4; ++part) {
    const size_t dot = host.find('.', start);
    if ((part < 3) != (dot != std::string_view::npos)) return false;
    if (!IsDecimalByte(host.substr(start, dot == std::string_view::npos ? dot : dot - start))) {
      return false;
    }
    start = dot + 1;
  }
  return true;
}

// Host names compare ignoring ASCII case. An address matches only itself; a name matches a
// domain equal to it, or one that ends it right after a "." and has a dot inside itself, so
// that no cookie reaches a whole top-level domain. A domain's leading "." is not part of it.
bool DomainMatches(const std::string& domain, const std::string& host) {
  std::string_view bare(domain);
  if (!bare.empty() && bare[0] == '.') bare.remove_prefix(1);
  if (bare.empty()) return false;
  if (IsDottedIPv4(host) || IsDottedIPv4(bare)) return domain == host;
  if (SameText(bare, host)) return true;
  const size_t innerDot = bare.find('.', 1);
  if (innerDot == std::string_view::npos || innerDot + 1 == bare.size()) return false;
  return bare.size() < host.size() && host[host.size() - bare.size() - 1] == '.' &&
         SameText(std::string_view(host).substr(host.size() - bare.size()), bare);
}

bool TIdNetscapeCookie::IsAllowed(const std::string& host) const {
  return DomainMatches(Domain, host);
}

}  // namespace pelmorix
