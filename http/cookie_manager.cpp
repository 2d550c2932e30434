#include "http/cookie_manager.h"

#include <algorithm>
#include <limits>
#include <mutex>
#include <string_view>
#include <unordered_set>
#include <vector>

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

bool Applies(const TIdNetscapeCookie& cookie, const TIdURI& url, bool secureTransport) {
  const std::string& path = url.Path;
  return DomainMatches(cookie.Domain, url.Host) && cookie.Path.size() <= path.size() &&
         path.compare(0, cookie.Path.size(), cookie.Path) == 0 &&
         (!cookie.Secure || secureTransport) && !cookie.Value.empty();
}

constexpr TDateTime kNever = std::numeric_limits<TDateTime>::infinity();

void NoteExpiry(const TIdNetscapeCookie& cookie, TDateTime& earliest) {
  if (!cookie.Expires().empty()) earliest = std::min(earliest, cookie.ExpiresUTC());
}

}  // namespace

TIdCookieManager::TIdCookieManager(TOnManagerEvent onCreate) : earliestExpiry_(kNever) {
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

void TIdCookieManager::AddCookie(const std::string& text, const std::string& host) {
  AddParsedCookie(std::make_unique<TIdCookieRFC2109>(), text, host);
}

void TIdCookieManager::AddCookie2(const std::string& text, const std::string& host) {
  AddParsedCookie(std::make_unique<TIdCookieRFC2965>(), text, host);
}

void TIdCookieManager::AddParsedCookie(std::unique_ptr<TIdNetscapeCookie> cookie,
                                       const std::string& text, const std::string& host) {
  // A CR, LF or NUL would end the "Cookie" line it is sent in, or refuse every later request
  // to the host; such a text is no cookie.
  if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) return;
  cookie->SetCookieText(text);
  if (cookie->Domain.empty()) cookie->Domain = host;
  if (!cookie->IsAllowed(host)) return;
  bool accept = true;
  if (OnNewCookie) OnNewCookie(*this, *cookie, accept);
  if (!accept) return;
  StoreCookie(std::move(cookie));
  RemoveExpiredCookies();
}

void TIdCookieManager::StoreCookie(std::unique_ptr<TIdNetscapeCookie> cookie) {
  std::unique_lock guard(lock_);
  const std::string key = cookie->Domain + cookie->Path;
  int entry = index_.IndexOf(key);
  if (entry < 0) {
    index_.Add(key, std::make_unique<TIdCookieList>());
    entry = index_.Count() - 1;
  }
  TIdCookieList& list = *index_[entry].Object;
  const int stored = list.IndexOf(cookie->CookieName);
  if (stored < 0) {
    const std::string name = cookie->CookieName;
    NoteExpiry(*list.Add(name, &cookies_.Add(std::move(cookie))), earliestExpiry_);
  } else {
    // A cookie set again keeps its place; the new object goes.
    list[stored].Object->Assign(*cookie);
    NoteExpiry(*list[stored].Object, earliestExpiry_);
  }
}

void TIdCookieManager::RemoveExpiredCookies() {
  const TDateTime localOffset = LocalOffsetFromUTC();
  const TDateTime now = Now();
  std::unique_lock guard(lock_);
  if (!(now > earliestExpiry_ + localOffset)) return;
  std::unordered_set<const TIdNetscapeCookie*> expired;
  earliestExpiry_ = kNever;
  for (int i = 0; i < index_.Count(); ++i) {
    index_[i].Object->RemoveIf([&](TIdNetscapeCookie* cookie) {
      if (cookie->Expires().empty()) return false;
      if (!(now > cookie->ExpiresUTC() + localOffset)) {
        NoteExpiry(*cookie, earliestExpiry_);
        return false;
      }
      expired.insert(cookie);
      return true;
    });
  }
  if (!expired.empty()) {
    cookies_.RemoveIf([&](const TIdNetscapeCookie& cookie) { return expired.count(&cookie) > 0; });
  }
}

std::string TIdCookieManager::CookieTextFor(const TIdURI& url, bool secureTransport) {
  RemoveExpiredCookies();
  std::shared_lock guard(lock_);
  if (index_.IsEmpty()) return "";
  std::vector<const TIdNetscapeCookie*> taken;
  for (int i = 0; i < index_.Count(); ++i) {
    // Each cookie's own domain decides: the keys join domain and path without a mark between.
    const TIdCookieList& list = *index_[i].Object;
    for (int j = list.Count() - 1; j >= 0; --j) {
      if (Applies(*list[j].Object, url, secureTransport)) taken.push_back(list[j].Object);
    }
  }
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
