#pragma once

#include <functional>
#include <memory>
#include <shared_mutex>
#include <string>

#include "http/cookie.h"
#include "http/cookie_list.h"
#include "http/uri.h"

namespace pelmorix {

class TIdCookieManager;

using TOnManagerEvent = std::function<void(TIdCookieManager& sender, TIdCookies& cookies)>;
using TOnNewCookieEvent =
    std::function<void(TIdCookieManager& sender, TIdNetscapeCookie& cookie, bool& accept)>;

// The in-memory cookies of one client: every cookie its replies set, kept under the domain and
// path they apply to, and the "Cookie" text for each request. Reading the cookies takes the
// read side of the lock; adding and removing take the write side.
class TIdCookieManager {
 public:
  explicit TIdCookieManager(TOnManagerEvent onCreate = nullptr);
  ~TIdCookieManager();
  TIdCookieManager(const TIdCookieManager&) = delete;
  TIdCookieManager& operator=(const TIdCookieManager&) = delete;

  // A "Set-cookie" value of a reply from the host. Stored only when its domain (the host's own
  // when it names none) covers the host (DomainMatches); a text that holds CR, LF or NUL is
  // dropped.
  void AddCookie(const std::string& text, const std::string& host);
  // A "Set-cookie2" value of a reply from the host. A quoted port list that is not made of
  // decimal numbers raises EConvertError.
  void AddCookie2(const std::string& text, const std::string& host);
  // The value of the "Cookie" line for a request of the URL; empty when no cookie applies. A
  // cookie applies when its domain covers the URL's host (DomainMatches), its path begins the
  // URL's path and its value is not empty; secure cookies only over a secure transport.
  std::string CookieTextFor(const TIdURI& url, bool secureTransport);
  void RemoveExpiredCookies();

  TIdCookies& Cookies() { return cookies_; }

  TOnManagerEvent OnDestroy;
  TOnNewCookieEvent OnNewCookie;

 private:
  void AddParsedCookie(std::unique_ptr<TIdNetscapeCookie> cookie, const std::string& text,
                       const std::string& host);
  void StoreCookie(std::unique_ptr<TIdNetscapeCookie> cookie);

  TIdCookies cookies_;
  // Domain + path -> the cookies under it.
  TIdKeyedList<std::unique_ptr<TIdCookieList>> index_;
  // No cookie expires before this moment (UTC), so most calls need not look at each one.
  TDateTime earliestExpiry_;
  std::shared_mutex lock_;
};

}  // namespace pelmorix
