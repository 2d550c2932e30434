#include "base/convert.h"
#include "base/text.h"
#include "http/cookie.h"

namespace pelmorix {
namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
  return tail.size() <= text.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool IsDecimalByte(const std::string& part) {
  if (part.empty() || part.size() > 3) return false;
  for (const char c : part) {
    if (c < '0' || c > '9') return false;
  }
  return StrToInt(part) <= 255;
}

}  // namespace

bool IsDottedIPv4(const std::string& host) {
  size_t start = 0;
  for (int part = 0; part < 4; ++part) {
    const size_t dot = host.find('.', start);
    if ((part < 3) != (dot != std::string::npos)) return false;
    if (!IsDecimalByte(host.substr(start, dot == std::string::npos ? dot : dot - start))) {
      return false;
    }
    start = dot + 1;
  }
  return true;
}

// An address host sets only its own address; a name host sets its own name or any ending of
// it, and a domain that begins with "." must end the host's name after its first label.
bool TIdNetscapeCookie::IsAllowed(const std::string& host) const {
  if (IsDottedIPv4(host)) return Domain == host;
  const size_t firstDot = host.find('.');
  const std::string fromFirstDot = firstDot == std::string::npos ? host : host.substr(firstDot);
  if (!host.empty() && host[0] == '.') return SameText(Domain, fromFirstDot);
  if ((Domain.empty() || Domain[0] != '.') && !IsDottedIPv4(Domain)) {
    return EndsWith(host, Domain);
  }
  return EndsWith(fromFirstDot, Domain);
}

}  // namespace pelmorix
