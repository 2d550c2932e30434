#include "http/authentication_schemes.h"

#include <algorithm>

#include "base/format.h"
#include "base/text.h"

namespace pelmorix {

const TIdAuthenticationClass& BasicAuthenticationClass() {
  static const TIdAuthenticationClass basic{"TIdBasicAuthentication",
                                            []() -> std::unique_ptr<TIdAuthentication> {
                                              return std::make_unique<TIdBasicAuthentication>();
                                            }};
  return basic;
}

void TIdAuthenticationSchemes::Register(const std::string& scheme,
                                        const TIdAuthenticationClass& authClass) {
  if (const TIdAuthenticationClass* existing = Find(scheme)) {
    throw EIdAlreadyRegisteredAuthenticationMethod(
        Format("This authentication method is already registered with class name %s.",
               existing->ClassName));
  }
  entries_.push_back({scheme, &authClass});
}

void TIdAuthenticationSchemes::Unregister(const std::string& scheme) {
  std::erase_if(entries_, [&](const Entry& entry) { return SameText(entry.Scheme, scheme); });
}

const TIdAuthenticationClass* TIdAuthenticationSchemes::Find(const std::string& scheme) const {
  const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) {
    return SameText(entry.Scheme, scheme);
  });
  return found == entries_.end() ? nullptr : found->Class;
}

TIdAuthenticationSchemes& RegisteredAuthenticationSchemes() {
  static TIdAuthenticationSchemes schemes = [] {
    TIdAuthenticationSchemes initial;
    initial.Register("Basic", BasicAuthenticationClass());
    return initial;
  }();
  return schemes;
}

}  // namespace pelmorix
