#pragma once

#include <functional>
#include <memory>
#include <string>

#include "base/stream.h"
#include "http/authentication.h"
#include "http/authentication_schemes.h"
#include "http/connection_exceptions.h"
#include "http/cookie_manager.h"
#include "http/credential_origin.h"
#include "http/header_list.h"
#include "http/http_exceptions.h"
#include "http/http_protocol.h"
#include "http/http_request.h"
#include "http/http_response.h"
#include "http/proxy_connection_info.h"
#include "http/request_composition.h"
#include "http/socket_exceptions.h"
#include "http/tcp_client.h"
#include "http/uri.h"

namespace pelmorix {

// Options of a client, combined as bits.
enum TIdHTTPOption : unsigned {
  hoInProcessAuth = 1,  // answer 401/407 by asking again with credentials
  hoKeepOrigProtocol = 2,
  hoForceEncodeParams = 4,
};
using TIdHTTPOptions = unsigned;

class TIdCustomHTTP;

using TIdHTTPHeadersAvailableEvent =
    std::function<void(TIdCustomHTTP* sender, TIdHeaderList& headers, bool& vContinue)>;
using TIdHTTPOnRedirectEvent =
    std::function<void(TIdCustomHTTP* sender, std::string& dest, int& numRedirect, bool& handled,
                       TIdHTTPMethod& vMethod)>;
using TIdOnSelectAuthorization =
    std::function<void(TIdCustomHTTP* sender, const TIdAuthenticationClass*& authenticationClass,
                       TIdHeaderList& authInfo)>;
using TIdOnAuthorization =
    std::function<void(TIdCustomHTTP* sender, TIdAuthentication& authentication, bool& handled)>;

// The blocking HTTP/1.x client on a TCP client (its header brings every exception a call may
// raise): each call connects when needed, sends one
// request, reads the reply head, keeps its cookies, decides on its code and reads its body.
class TIdCustomHTTP : public TIdTCPClient {
 public:
  explicit TIdCustomHTTP(TIdSocketLayer& layer = TIdSocketLayer::Process());
  ~TIdCustomHTTP() override;

  // The body of the reply as text, a byte a character.
  std::string Get(const std::string& url);
  // Writes the body of the reply into the stream from its position; replies that end in an
  // error write nothing there.
  void Get(const std::string& url, TStream& stream);
  void Disconnect() { CloseConnection(); }

  // Settings.
  TIdHTTPProtocolVersion ProtocolVersion() const { return protocolVersion_; }
  void SetProtocolVersion(TIdHTTPProtocolVersion version) { protocolVersion_ = version; }
  bool HandleRedirects() const { return handleRedirects_; }
  void SetHandleRedirects(bool handle) { handleRedirects_ = handle; }
  int RedirectMaximum() const { return redirectMaximum_; }
  void SetRedirectMaximum(int maximum) { redirectMaximum_ = maximum; }
  int AuthRetries() const { return authRetries_; }
  void SetAuthRetries(int retries) { authRetries_ = retries; }
  bool AllowCookies() const { return allowCookies_; }
  void SetAllowCookies(bool allow) { allowCookies_ = allow; }
  TIdHTTPOptions HTTPOptions() const { return httpOptions_; }
  void SetHTTPOptions(TIdHTTPOptions options) { httpOptions_ = options; }
  // Given to OpenConnection; 0 connects on the caller's thread without a limit.
  int ConnectTimeout() const { return connectTimeout_; }
  void SetConnectTimeout(int milliseconds) { connectTimeout_ = milliseconds; }
  // None until the first reply when AllowCookies is set. A store assigned from outside is only
  // referenced; assigning replaces (and frees) a store the client made itself.
  TIdCookieManager* CookieManager() const { return cookieManager_; }
  void SetCookieManager(TIdCookieManager* cookieManager);
  TIdProxyConnectionInfo& ProxyParams() { return proxyParams_; }

  TIdHTTPRequest& Request() { return protocol_->Request(); }
  TIdHTTPResponse& Response() { return protocol_->Response(); }
  int ResponseCode() const { return protocol_->Response().StatusCode(); }
  // The URL of the last request; a relative URL resolves against it.
  TIdURI& URL() { return currentUrl_; }
  int RedirectCount() const { return redirectCount_; }

  // Also the host and port of URL.
  void SetHost(const std::string& host) override;
  void SetPort(int port) override;

  TIdHTTPHeadersAvailableEvent OnHeadersAvailable;
  TIdHTTPOnRedirectEvent OnRedirect;
  TIdOnSelectAuthorization OnSelectAuthorization;
  TIdOnAuthorization OnAuthorization;
  TIdOnSelectAuthorization OnSelectProxyAuthorization;
  TIdOnAuthorization OnProxyAuthorization;

 protected:
  // Prepares credentials after a 401 (or, for the proxy, a 407); false when there are none to
  // send, which ends the request with the reply.
  virtual bool DoOnAuthorization(TIdHTTPRequest& request, TIdHTTPResponse& response);
  virtual bool DoOnProxyAuthorization(TIdHTTPRequest& request, TIdHTTPResponse& response);
  // Runs OnRedirect; gives whether the redirect is handled.
  virtual bool DoOnRedirect(std::string& location, TIdHTTPMethod& method, int redirectCount,
                            bool handled);
  // The request loop: attempts until a reply finishes the request.
  virtual void DoRequest(TIdHTTPMethod method, const std::string& url, TStream* source,
                         TStream* responseContent);
  // Also drops an authenticator whose steps are all done.
  void DoOnDisconnected() override;

 private:
  friend class TIdHTTPProtocol;

  struct TCredentialSide;
  bool Authorize(const TCredentialSide& side);
  // Chooses host, port and connection kind for the composed request and connects when needed.
  void PrepareConnection();
  int KeptConnectionProbeWait();
  void ChooseDirectConnection();
  void ChooseEncryption(bool https);
  void ChooseProxyConnection();
  // The status line and head of each reply, past any 100 replies, with their cookies stored.
  void ReadReplyHead();
  void ProcessCookies();
  void EndRequest();

  TIdHTTPProtocolVersion protocolVersion_ = TIdHTTPProtocolVersion::pv1_1;
  bool handleRedirects_ = false;
  int redirectMaximum_ = 15;
  int authRetries_ = 3;
  bool allowCookies_ = true;
  TIdHTTPOptions httpOptions_ = hoForceEncodeParams;
  int connectTimeout_ = 0;
  TIdCookieManager* cookieManager_ = nullptr;
  std::unique_ptr<TIdCookieManager> ownCookieManager_;
  TIdProxyConnectionInfo proxyParams_;
  TIdURI currentUrl_;
  TIdCredentialOrigin credentialOrigin_;
  int redirectCount_ = 0;
  std::unique_ptr<TIdHTTPProtocol> protocol_;
};

// The client as programs use it.
class TIdHTTP : public TIdCustomHTTP {
 public:
  using TIdCustomHTTP::TIdCustomHTTP;
};

}  // namespace pelmorix
