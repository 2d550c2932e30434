#pragma once

#include <functional>
#include <map>
#include <memory>
#include <shared_mutex>
#include <string>
#include <unordered_map>

#include "http/cookie.h"
#include "http/cookie_list.h"
#include "http/local_offset_once.h"
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
  // dropped. The cookies of one reply share one local offset from UTC; without one, each call
  // asks for its own.
  void AddCookie(const std::string& text, const std::string& host);
  void AddCookie(const std::string& text, const std::string& host, TLocalOffsetOnce& localOffset);
  // A "Set-cookie2" value of a reply from the host. A quoted port list that is not made of
  // decimal numbers raises EConvertError.
  void AddCookie2(const std::string& text, const std::string& host);
  void AddCookie2(const std::string& text, const std::string& host, TLocalOffsetOnce& localOffset);
  // The value of the "Cookie" line for a request of the URL; empty when no cookie applies. A
  // cookie applies when its domain covers the URL's host (DomainMatches), its path begins the
  // URL's path and its value is not empty; secure cookies only over a secure transport.
  std::string CookieTextFor(const TIdURI& url, bool secureTransport);
  void RemoveExpiredCookies();
  void RemoveExpiredCookies(TLocalOffsetOnce& localOffset);

  TIdCookies& Cookies() { return cookies_; }

  TOnManagerEvent OnDestroy;
  TOnNewCookieEvent OnNewCookie;

 private:
  using TExpiries = std::multimap<TDateTime, TIdNetscapeCookie*>;
  // Where a stored cookie is listed: its list, the name it is listed under, its expiry entry.
  struct TStoredPlace {
    TIdCookieList* List = nullptr;
    std::string Name;
    TExpiries::iterator Expiry;
    bool Expires = false;
  };

  void AddParsedCookie(std::unique_ptr<TIdNetscapeCookie> cookie, const std::string& text,
                       const std::string& host, TLocalOffsetOnce& localOffset);
  void StoreCookie(std::unique_ptr<TIdNetscapeCookie> cookie, TLocalOffsetOnce& localOffset);
  void NoteExpiry(TIdNetscapeCookie* cookie, TStoredPlace& place);

  TIdCookies cookies_;
  // Domain + path -> the cookies under it.
  TIdKeyedList<std::unique_ptr<TIdCookieList>> index_;
  std::unordered_map<const TIdNetscapeCookie*, TStoredPlace> places_;
  // The cookies with an expiry text, by their expiry in UTC: the expired ones are found
  // without a look at the others.
  TExpiries expiries_;
  std::shared_mutex lock_;
};

}  // namespace pelmorix
