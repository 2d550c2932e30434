#include "tools/http-get/http_get_urls.h"

#include <algorithm>

#include "base/text.h"
#include "http/uri.h"

namespace pelmorix {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The scheme an argument names. "localhost:8080/x" and "user:password@host/x" name none: what
// follows the colon is a port or a password, as curl reads them.
std::string SchemeOf(const std::string& argument) {
  const std::string scheme = ReferenceScheme(argument);
  if (scheme.empty()) return "";
  const size_t rest = scheme.size() + 1;
  if (argument.compare(rest, 2, "//") == 0) return scheme;
  const size_t authorityEnd = std::min(argument.find_first_of("/?#", rest), argument.size());
  if (argument.find('@', rest) < authorityEnd) return "";
  size_t end = rest;
  while (end < authorityEnd && IsDigit(argument[end])) ++end;
  const bool port = end > rest && end == authorityEnd;
  return port ? "" : scheme;
}

}  // namespace

bool ResolveHttpGetUrls(std::vector<std::string>& urls, std::string& problem) {
  for (size_t i = 0; i < urls.size(); ++i) {
    std::string& url = urls[i];
    const std::string scheme = SchemeOf(url);
    if (!scheme.empty()) {
      if (SameText(scheme, "http") || SameText(scheme, "https")) continue;
      problem = "the scheme '" + scheme + "' of " + url + " is not supported (only http and https)";
      return false;
    }
    if (!url.empty() && url[0] == '/') {
      if (i > 0) continue;
      problem = url + " has no host, and no URL before it to be relative to";
      return false;
    }
    url = "http://" + url;
  }
  return true;
}

}  // namespace pelmorix
