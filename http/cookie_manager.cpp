#include "http/cookie_manager.h"

#include <algorithm>
#include <mutex>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "http/internet_date.h"

namespace pelmorix {
namespace {

// Path order ignoring case; every path taken for one request is a prefix of the same path.
bool PathBefore(const TIdNetscapeCookie* a, const TIdNetscapeCookie* b) {
  const size_t length = std::min(a->Path.size(), b->Path.size());
  for (size_t i = 0; i < length; ++i) {
    const auto x = static_cast<unsigned char>(UpperChar(a->Path[i]));
    const auto y = static_cast<unsigned char>(UpperChar(b->Path[i]));
    if (x != y) return x < y;
  }
  return a->Path.size() < b->Path.size();
}

bool CoversHost(const TIdNetscapeCookie& cookie, const std::string& host) {
  return cookie.HostOnly ? SameText(cookie.Domain, host) : DomainMatches(cookie.Domain, host);
}

bool Applies(const TIdNetscapeCookie& cookie, const TIdURI& url, bool secureTransport) {
  return CoversHost(cookie, url.Host) && PathMatches(cookie.Path, url.Path) &&
         (!cookie.Secure || secureTransport) && !cookie.Value.empty();
}

std::string_view WithoutLeadingDot(std::string_view domain) {
  if (!domain.empty() && domain[0] == '.') domain.remove_prefix(1);
  return domain;
}

// Whether some host could be sent cookies of both domains: one covers the other.
bool DomainsOverlap(const std::string& a, const std::string& b) {
  return DomainMatches(a, std::string(WithoutLeadingDot(b))) ||
         DomainMatches(b, std::string(WithoutLeadingDot(a)));
}

}  // namespace

TIdCookieManager::TIdCookieManager(TOnManagerEvent onCreate) {
  if (onCreate) onCreate(*this, cookies_);
}

TIdCookieManager::~TIdCookieManager() {
  try {
    RemoveExpiredCookies();
  } catch (const EIdFailedToRetreiveTimeZoneInfo&) {
    // Every cookie goes with the store anyway.
  }
  if (OnDestroy) OnDestroy(*this, cookies_);
}

void TIdCookieManager::AddCookie(const std::string& text, const std::string& host,
                                 bool secureTransport) {
  TLocalOffsetOnce localOffset;
  AddCookie(text, host, secureTransport, localOffset);
}

void TIdCookieManager::AddCookie(const std::string& text, const std::string& host,
                                 bool secureTransport, TLocalOffsetOnce& localOffset) {
  AddParsedCookie(std::make_unique<TIdCookieRFC2109>(), text, host, secureTransport, localOffset);
}

void TIdCookieManager::AddCookie2(const std::string& text, const std::string& host,
                                  bool secureTransport) {
  TLocalOffsetOnce localOffset;
  AddCookie2(text, host, secureTransport, localOffset);
}

void TIdCookieManager::AddCookie2(const std::string& text, const std::string& host,
                                  bool secureTransport, TLocalOffsetOnce& localOffset) {
  AddParsedCookie(std::make_unique<TIdCookieRFC2965>(), text, host, secureTransport, localOffset);
}

void TIdCookieManager::AddParsedCookie(std::unique_ptr<TIdNetscapeCookie> cookie,
                                       const std::string& text, const std::string& host,
                                       bool secureTransport, TLocalOffsetOnce& localOffset) {
  // A CR, LF or NUL would end the "Cookie" line it is sent in, or refuse every later request
  // to the host; such a text is no cookie.
  if (HoldsLineBreakOrNul(text)) return;
  cookie->SetCookieText(text, localOffset);
  if (cookie->Domain.empty()) {
    cookie->Domain = host;
    cookie->HostOnly = true;
  }
  if (!cookie->IsAllowed(host)) return;
  // Anyone on the network can answer a plain request; what only an SSL transport may send
  // must come over one.
  if (cookie->Secure && !secureTransport) return;
  bool accept = true;
  if (OnNewCookie) OnNewCookie(*this, *cookie, accept);
  if (!accept) return;
  StoreCookie(std::move(cookie), secureTransport, localOffset);
  RemoveExpiredCookies(localOffset);
}

void TIdCookieManager::NotePlace(TIdNetscapeCookie* cookie, TStoredPlace& place) {
  ForgetPlace(place);
  place.Expires = !cookie->Expires().empty();
  if (place.Expires) place.Expiry = expiries_.emplace(cookie->ExpiresUTC(), cookie);
  place.Secure = cookie->Secure;
  if (place.Secure) place.SecureEntry = secureByName_.emplace(UpperCase(place.Name), cookie);
}

void TIdCookieManager::ForgetPlace(TStoredPlace& place) {
  if (place.Expires) expiries_.erase(place.Expiry);
  if (place.Secure) secureByName_.erase(place.SecureEntry);
  place.Expires = place.Secure = false;
}

// A secure cookie of the same name whose domain overlaps the new one's and whose path covers
// it would be replaced by the new cookie, or sent after it to the same requests.
bool TIdCookieManager::ShadowsSecureCookie(const TIdNetscapeCookie& cookie) const {
  if (secureByName_.empty()) return false;
  const auto [first, last] = secureByName_.equal_range(UpperCase(cookie.CookieName));
  return std::any_of(first, last, [&](const auto& entry) {
    const TIdNetscapeCookie& secure = *entry.second;
    return DomainsOverlap(secure.Domain, cookie.Domain) && PathMatches(secure.Path, cookie.Path);
  });
}

void TIdCookieManager::StoreCookie(std::unique_ptr<TIdNetscapeCookie> cookie, bool secureTransport,
                                   TLocalOffsetOnce& localOffset) {
  std::unique_lock guard(lock_);
  if (!secureTransport && ShadowsSecureCookie(*cookie)) return;
  const std::string key = cookie->Domain + cookie->Path;
  std::unique_ptr<TIdCookieList>* entry = index_.Find(key);
  TIdCookieList& list =
      entry != nullptr ? **entry : *index_.Add(key, std::make_unique<TIdCookieList>());
  TIdNetscapeCookie** stored = list.Find(cookie->CookieName);
  if (stored == nullptr) {
    const std::string name = cookie->CookieName;
    TIdNetscapeCookie* added = list.Add(name, &cookies_.Add(std::move(cookie)));
    TStoredPlace& place = places_[added];
    place.List = &list;
    place.Name = name;
    NotePlace(added, place);
  } else {
    // A cookie set again keeps its place; the new object goes.
    (*stored)->Assign(*cookie, localOffset);
    NotePlace(*stored, places_.at(*stored));
  }
}

void TIdCookieManager::RemoveExpiredCookies() {
  TLocalOffsetOnce localOffset;
  RemoveExpiredCookies(localOffset);
}

void TIdCookieManager::RemoveExpiredCookies(TLocalOffsetOnce& localOffset) {
  std::unique_lock guard(lock_);
  if (expiries_.empty()) return;
  const TDateTime offset = localOffset.Get();
  const TDateTime now = Now();
  // The earliest first: the first one still alive ends the walk.
  while (!expiries_.empty() && now > expiries_.begin()->first + offset) {
    TIdNetscapeCookie* cookie = expiries_.begin()->second;
    const auto place = places_.find(cookie);
    ForgetPlace(place->second);
    place->second.List->Remove(place->second.Name);
    places_.erase(place);
    cookies_.Remove(cookie);
  }
}

std::string TIdCookieManager::CookieTextFor(const TIdURI& url, bool secureTransport) {
  RemoveExpiredCookies();
  std::shared_lock guard(lock_);
  if (index_.IsEmpty()) return "";
  std::vector<const TIdNetscapeCookie*> taken;
  // Each cookie's own domain decides: the keys join domain and path without a mark between.
  index_.ForEach([&](const auto& entry) {
    entry.Object->ForEachBackward([&](const auto& named) {
      if (Applies(*named.Object, url, secureTransport)) taken.push_back(named.Object);
    });
  });
  // Longer paths first; among equal paths the order of taking stays.
  std::stable_sort(taken.begin(), taken.end(),
                   [](const auto* a, const auto* b) { return PathBefore(b, a); });
  std::string text;
  for (const TIdNetscapeCookie* cookie : taken) {
    if (!text.empty()) text += "; ";
    text += cookie->ClientCookie();
  }
  return text;
}

}  // namespace pelmorix
