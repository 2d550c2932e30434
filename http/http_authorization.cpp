#include "http/id_http.h"
#include "http/token.h"

namespace pelmorix {

// The credentials of one side of a request: the server's (401) or the proxy's (407).
struct TIdCustomHTTP::TCredentialSide {
  std::unique_ptr<TIdAuthentication>& Authenticator;
  TIdHeaderList& Challenges;
  const TIdOnSelectAuthorization& OnSelect;
  const TIdOnAuthorization& OnAuthorize;
  std::string& Username;
  std::string& Password;
  bool& BasicAuthentication;
  // False when the credentials belong to another origin than the one that challenged.
  bool Offer;
};

namespace {

// The class of the first challenge whose scheme is registered; null when there is none.
const TIdAuthenticationClass* ChallengedClass(const TIdHeaderList& challenges) {
  for (const std::string& challenge : challenges.Lines()) {
    std::string rest = challenge;
    if (const TIdAuthenticationClass* found =
            RegisteredAuthenticationSchemes().Find(CutToken(rest, " "))) {
      return found;
    }
  }
  return nullptr;
}

}  // namespace

bool TIdCustomHTTP::DoOnAuthorization(TIdHTTPRequest& request, TIdHTTPResponse& response) {
  if (!Authorize({request.Authenticator, response.WWWAuthenticate, OnSelectAuthorization,
                  OnAuthorization, request.Username, request.Password, request.BasicAuthentication,
                  !request.WithholdCredentials})) {
    return false;
  }
  credentialOrigin_.Bind(currentUrl_, request);
  return true;
}

bool TIdCustomHTTP::DoOnProxyAuthorization(TIdHTTPRequest&, TIdHTTPResponse& response) {
  TIdProxyConnectionInfo& proxy = proxyParams_;
  return Authorize({proxy.Authenticator, response.ProxyAuthenticate, OnSelectProxyAuthorization,
                    OnProxyAuthorization, proxy.ProxyUsername, proxy.ProxyPassword,
                    proxy.BasicAuthentication, true});
}

bool TIdCustomHTTP::Authorize(const TCredentialSide& side) {
  // An authenticator made for this challenge joins the record only once it has credentials to
  // send: one left behind empty would put "Basic Og==" on every later request of the client.
  // Credentials of another origin are not offered: a fresh authenticator asks the program.
  std::unique_ptr<TIdAuthentication> made;
  if (!side.Authenticator || !side.Offer) {
    const TIdAuthenticationClass* authClass = ChallengedClass(side.Challenges);
    if (side.OnSelect) side.OnSelect(this, authClass, side.Challenges);
    if (authClass == nullptr) return false;
    made = authClass->Create();
  }
  if (!side.OnAuthorize && (httpOptions_ & hoInProcessAuth) == 0) return false;

  TIdAuthentication& authenticator = made ? *made : *side.Authenticator;
  authenticator.SetUsername(side.Offer ? side.Username : std::string());
  authenticator.SetPassword(side.Offer ? side.Password : std::string());
  authenticator.AuthParams() = side.Challenges;
  // A handler that claims to have answered without giving a user name must not loop forever.
  for (int asked = 0; asked <= authRetries_; ++asked) {
    switch (authenticator.Next()) {
      case TIdAuthWhatsNext::wnDoRequest:
        // Stays with the record for the client's later requests.
        if (made) side.Authenticator = std::move(made);
        return true;
      case TIdAuthWhatsNext::wnFail:
        return false;
      case TIdAuthWhatsNext::wnAskTheProgram: {
        bool handled = false;
        if (side.OnAuthorize) side.OnAuthorize(this, authenticator, handled);
        if (!handled) return false;
        side.BasicAuthentication = true;
        side.Username = authenticator.Username();
        side.Password = authenticator.Password();
        break;
      }
    }
  }
  return false;
}

}  // namespace pelmorix
