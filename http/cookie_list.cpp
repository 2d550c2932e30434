#include "http/cookie_list.h"

namespace pelmorix {

TIdNetscapeCookie& TIdCookies::operator[](int index) {
  if (cookies_.size() != places_.size()) Pack();
  return *cookies_.at(static_cast<size_t>(index));
}

TIdNetscapeCookie& TIdCookies::Add(std::unique_ptr<TIdNetscapeCookie> cookie) {
  places_.emplace(cookie.get(), cookies_.size());
  cookies_.push_back(std::move(cookie));
  return *cookies_.back();
}

void TIdCookies::Remove(const TIdNetscapeCookie* cookie) {
  const auto place = places_.find(cookie);
  if (place == places_.end()) return;
  cookies_[place->second].reset();
  places_.erase(place);
  if (cookies_.size() > 2 * places_.size() + 16) Pack();
}

void TIdCookies::Pack() {
  std::erase_if(cookies_, [](const auto& cookie) { return cookie == nullptr; });
  for (size_t i = 0; i < cookies_.size(); ++i) places_[cookies_[i].get()] = i;
}

}  // namespace pelmorix
