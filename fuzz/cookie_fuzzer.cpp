// Plays a reply's cookies into a store: the first line is the request host, every further
// line a "Set-cookie" value ("Set-cookie2" when it starts with "2 "), from a plain reply or,
// when it starts with "s ", from one over an SSL transport; then asks for the "Cookie" text
// of a request to that host, with the path of the last line, and of a request to another
// host, whose path holds the first host's name, which must get no cookie.
#include <string>
#include <vector>

#include "base/convert.h"
#include "base/text.h"
#include "fuzz/fuzz_support.h"
#include "http/cookie_manager.h"
#include "http/uri.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pelmorix;
  const std::vector<std::string> lines = InputLines(InputText(data, size));
  // A request host has no blanks and no ";" (it comes from a URL); a cookie replaced in place
  // re-reads its domain from a ";"-separated text.
  std::string host;
  for (const char c : lines[0]) {
    if (!IsBlank(c) && c != ';') host += c;
  }
  TIdCookieManager store;
  for (size_t i = 1; i < lines.size(); ++i) {
    std::string line = lines[i];
    const bool secure = line.compare(0, 2, "s ") == 0;
    if (secure) line.erase(0, 2);
    if (line.compare(0, 2, "2 ") == 0) {
      try {
        store.AddCookie2(line.substr(2), host, secure);
      } catch (const EConvertError&) {
        // a port list that is not made of numbers ends the reply
      }
    } else {
      store.AddCookie(line, host, secure);
    }
  }
  for (int i = 0; i < store.Cookies().Count(); ++i) {
    TIdNetscapeCookie& cookie = store.Cookies()[i];
    FUZZ_CHECK(cookie.IsAllowed(host));
    cookie.ServerCookie();
  }
  TIdURI url;
  url.Protocol = "http";
  url.Host = host;
  url.Path = "/" + (lines.size() > 1 ? lines.back() : std::string());
  const std::string plain = store.CookieTextFor(url, false);
  const std::string secure = store.CookieTextFor(url, true);
  FUZZ_CHECK(secure.size() >= plain.size());
  // Every stored cookie's domain covers the host, so it ends the host's name; one more letter
  // at the end makes a name that no such domain covers.
  TIdURI other = url;
  other.Host = host + "x";
  other.Path = "/" + host + url.Path;
  FUZZ_CHECK(store.CookieTextFor(other, true).empty());
  return 0;
}
