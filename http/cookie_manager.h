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

  // A "Set-cookie" value of a reply from the host, over an SSL transport or not. Stored only
  // when its domain (the host's own when it names none, and then sent back to that host alone)
  // covers the host (DomainMatches); a text that holds CR, LF or NUL is dropped. A plain reply
  // can neither set a secure cookie nor one of the same name that would replace or shadow a
  // secure one. The cookies of one reply share one local offset from UTC; without one, each
  // call asks for its own.
  void AddCookie(const std::string& text, const std::string& host, bool secureTransport = false);
  void AddCookie(const std::string& text, const std::string& host, bool secureTransport,
                 TLocalOffsetOnce& localOffset);
  // A "Set-cookie2" value of a reply from the host, by the same rules. A quoted port list that
  // is not made of decimal numbers raises EConvertError.
  void AddCookie2(const std::string& text, const std::string& host, bool secureTransport = false);
  void AddCookie2(const std::string& text, const std::string& host, bool secureTransport,
                  TLocalOffsetOnce& localOffset);
  // The value of the "Cookie" line for a request of the URL; empty when no cookie applies. A
  // cookie applies when its domain covers the URL's host (DomainMatches; a host-only cookie's
  // domain must be the host), its path covers the URL's path (PathMatches) and its value is
  // not empty; secure cookies only over a secure transport.
  std::string CookieTextFor(const TIdURI& url, bool secureTransport);
  void RemoveExpiredCookies();
  void RemoveExpiredCookies(TLocalOffsetOnce& localOffset);

  TIdCookies& Cookies() { return cookies_; }

  TOnManagerEvent OnDestroy;
  TOnNewCookieEvent OnNewCookie;

 private:
  using TExpiries = std::multimap<TDateTime, TIdNetscapeCookie*>;
  using TSecureByName = std::multimap<std::string, TIdNetscapeCookie*>;
  // Where a stored cookie is listed: its list, the name it is listed under, its expiry entry
  // and its entry among the secure cookies.
  struct TStoredPlace {
    TIdCookieList* List = nullptr;
    std::string Name;
    TExpiries::iterator Expiry;
    bool Expires = false;
    TSecureByName::iterator SecureEntry;
    bool Secure = false;
  };

  void AddParsedCookie(std::unique_ptr<TIdNetscapeCookie> cookie, const std::string& text,
                       const std::string& host, bool secureTransport,
                       TLocalOffsetOnce& localOffset);
  void StoreCookie(std::unique_ptr<TIdNetscapeCookie> cookie, bool secureTransport,
                   TLocalOffsetOnce& localOffset);
  bool ShadowsSecureCookie(const TIdNetscapeCookie& cookie) const;
  void NotePlace(TIdNetscapeCookie* cookie, TStoredPlace& place);
  void ForgetPlace(TStoredPlace& place);

  TIdCookies cookies_;
  // Domain + path -> the cookies under it.
  TIdKeyedList<std::unique_ptr<TIdCookieList>> index_;
  std::unordered_map<const TIdNetscapeCookie*, TStoredPlace> places_;
  // The cookies with an expiry text, by their expiry in UTC: the expired ones are found
  // without a look at the others.
  TExpiries expiries_;
  // The secure cookies by upper-cased name, which a plain reply must leave alone.
  TSecureByName secureByName_;
  std::shared_mutex lock_;
};

}  // namespace pelmorix
