#include "http/id_http.h"

#include "base/convert.h"
#include "http/string_stream.h"

namespace pelmorix {

TIdCustomHTTP::TIdCustomHTTP(TIdSocketLayer& layer)
    : TIdTCPClient(layer), protocol_(std::make_unique<TIdHTTPProtocol>(*this)) {
  // The remembered URL starts with the client's port, so a first relative URL has one.
  TIdCustomHTTP::SetPort(80);
}

TIdCustomHTTP::~TIdCustomHTTP() = default;

std::string TIdCustomHTTP::Get(const std::string& url) {
  // The body is received into the text itself, not into a copy of it.
  TStringStream body;
  Get(url, body);
  return body.TakeDataString();
}

void TIdCustomHTTP::Get(const std::string& url, TStream& stream) {
  DoRequest(TIdHTTPMethod::Get, url, nullptr, &stream);
}

void TIdCustomHTTP::SetCookieManager(TIdCookieManager* cookieManager) {
  if (cookieManager == cookieManager_) return;
  ownCookieManager_.reset();
  cookieManager_ = cookieManager;
}

void TIdCustomHTTP::SetHost(const std::string& host) {
  TIdTCPClient::SetHost(host);
  currentUrl_.Host = host;
}

void TIdCustomHTTP::SetPort(int port) {
  TIdTCPClient::SetPort(port);
  currentUrl_.Port = IntToStr(port);
}

void TIdCustomHTTP::DoOnDisconnected() {
  TIdTCPClient::DoOnDisconnected();
  std::unique_ptr<TIdAuthentication>& authenticator = Request().Authenticator;
  if (authenticator && authenticator->CurrentStep() == authenticator->Steps()) {
    authenticator.reset();
  }
}

bool TIdCustomHTTP::DoOnRedirect(std::string& location, TIdHTTPMethod& method, int redirectCount,
                                 bool handled) {
  if (OnRedirect) OnRedirect(this, location, redirectCount, handled, method);
  return handled;
}

}  // namespace pelmorix
