#include "http/cookie_list.h"

namespace pelmorix {

TIdNetscapeCookie& TIdCookies::Add(std::unique_ptr<TIdNetscapeCookie> cookie) {
  cookies_.push_back(std::move(cookie));
  return *cookies_.back();
}

}  // namespace pelmorix
