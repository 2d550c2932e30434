#include "http/credential_origin.h"

#include "base/text.h"

namespace pelmorix {
namespace {

// Scheme and host ignore case; the port is the text the composed URL carries.
std::string OriginOf(const TIdURI& url) {
  return LowerCase(url.Protocol) + "://" + LowerCase(url.Host) + ":" + url.Port;
}

}  // namespace

TIdCredentialOrigin::THeld TIdCredentialOrigin::HeldBy(const TIdRequestHeaderInfo& request) {
  return {request.Username, request.Password,
          request.BasicAuthentication || request.Authenticator != nullptr};
}

bool TIdCredentialOrigin::Admit(const TIdURI& url, bool givenInUrl, TIdRequestHeaderInfo& request) {
  const THeld now = HeldBy(request);
  if (!now.Sends && now.Username.empty()) {
    // Nothing to send or to offer to a challenge; whatever is set next binds afresh.
    origin_.clear();
    held_ = THeld();
    return true;
  }
  const std::string origin = OriginOf(url);
  if (givenInUrl || origin_.empty() || now != held_) {
    if (!origin_.empty() && origin != origin_ && held_.Sends) request.Authenticator.reset();
    origin_ = origin;
    held_ = HeldBy(request);
  }
  return origin == origin_;
}

void TIdCredentialOrigin::Bind(const TIdURI& url, const TIdRequestHeaderInfo& request) {
  origin_ = OriginOf(url);
  held_ = HeldBy(request);
}

}  // namespace pelmorix
