#include "base/format.h"
#include "base/text.h"
#include "http/connection_exceptions.h"
#include "http/http_protocol.h"
#include "http/id_http.h"
#include "http/socket_exceptions.h"
#include "http/uri.h"

namespace pelmorix {
namespace {

constexpr int kErrorBodyReadTimeout = 2000;
constexpr int kDrainReadTimeout = 4000;

// Sets a read time-out of its own for one read and restores the client's afterwards.
class TReadTimeoutOverride {
 public:
  TReadTimeoutOverride(TIdTCPConnection& connection, int milliseconds)
      : connection_(connection), previous_(connection.ReadTimeout()) {
    connection_.SetReadTimeout(milliseconds);
  }
  ~TReadTimeoutOverride() { connection_.SetReadTimeout(previous_); }
  TReadTimeoutOverride(const TReadTimeoutOverride&) = delete;
  TReadTimeoutOverride& operator=(const TReadTimeoutOverride&) = delete;

 private:
  TIdTCPConnection& connection_;
  int previous_;
};

// A 3xx other than 304, or any reply that names a new location.
bool IsRedirect(int code, const std::string& location) {
  return (code / 100 == 3 && code != 304) || !location.empty();
}

}  // namespace

TIdHTTPWhatsNext TIdHTTPProtocol::ProcessResponse() {
  if (http_.OnHeadersAvailable) {
    bool proceed = true;
    http_.OnHeadersAvailable(&http_, response_.HeaderLines, proceed);
    if (!proceed) {
      closeAfterRequest_ = true;
      return TIdHTTPWhatsNext::Finish;
    }
  }
  const int code = response_.StatusCode();
  if (code / 100 == 1) {
    // An interim reply other than 100 (those are skipped with the head) stands in front of the
    // real reply, which this request does not read: left in the connection, it would be taken
    // for the answer to the next request. So the refused reply also ends the connection, even
    // when it names a location.
    closeAfterRequest_ = true;
    RaiseProtocolError();
  }
  if (IsRedirect(code, response_.Location)) return ProcessRedirect();
  if (code / 100 == 2) {
    if (!http_.IsConnected()) return TIdHTTPWhatsNext::Undetermined;
    if (!HasNoBody()) ReadBody(response_.BodyStream);
    return TIdHTTPWhatsNext::Finish;
  }
  if (code == 401) return ProcessAuthentication(false);
  if (code == 407) return ProcessAuthentication(true);
  RaiseProtocolError();
}

TIdHTTPWhatsNext TIdHTTPProtocol::ProcessRedirect() {
  std::string destination = response_.Location;
  TIdHTTPMethod method = request_.Verb;
  const int count = http_.RedirectCount();
  TIdHTTPWhatsNext next = TIdHTTPWhatsNext::Follow;
  if (!http_.HandleRedirects()) {
    if (!http_.DoOnRedirect(destination, method, count, false)) RaiseProtocolError();
    response_.Location = destination;
    next = TIdHTTPWhatsNext::Finish;
  } else if (count >= http_.RedirectMaximum()) {
    // A loop is a failure, not the redirect reply as an answer: only a handler that takes the
    // last redirect as handled ends the request with it.
    if (!http_.DoOnRedirect(destination, method, count, false)) {
      SkipRedirectBody();
      throw EIdTooManyRedirects(
          Format("Too many redirects: the limit of %d was reached.", http_.RedirectMaximum()));
    }
    response_.Location = destination;
    next = TIdHTTPWhatsNext::Finish;
  } else {
    // Leaving TLS for plain http is no quiet step: only a handler that is asked with Handled
    // false and sets it takes it.
    const bool downgrade =
        SameText(http_.URL().Protocol, "https") && SameText(ReferenceScheme(destination), "http");
    if (!http_.DoOnRedirect(destination, method, count, !downgrade)) {
      if (!downgrade) RaiseProtocolError();
      SkipRedirectBody();
      throw EIdInsecureRedirect("Redirect from https to http refused.");
    }
    // Anything else (ftp:, file:, javascript:) would be sent to the server as an HTTP request.
    const std::string scheme = ReferenceScheme(destination);
    if (!scheme.empty() && !SameText(scheme, "http") && !SameText(scheme, "https")) {
      SkipRedirectBody();
      throw EIdRedirectSchemeRefused(
          Format("Redirect to the scheme \"%s\" refused: only http and https are followed.",
                 scheme.c_str()));
    }
    request_.Target = destination;
    request_.Verb = method;
  }
  SkipRedirectBody();
  return next;
}

void TIdHTTPProtocol::SkipRedirectBody() {
  if (http_.IsConnected() && !HasNoBody()) DrainBody(kDrainReadTimeout);
}

TIdHTTPWhatsNext TIdHTTPProtocol::ProcessAuthentication(bool proxy) {
  std::unique_ptr<TIdAuthentication>& authenticator =
      proxy ? http_.ProxyParams().Authenticator : request_.Authenticator;
  const bool triesLeft = !authenticator || authenticator->AuthRetries() < http_.AuthRetries();
  const bool authorized = triesLeft && (proxy ? http_.DoOnProxyAuthorization(request_, response_)
                                              : http_.DoOnAuthorization(request_, response_));
  if (!authorized) {
    if (authenticator) authenticator->Reset();
    RaiseProtocolError();
  }
  if (!http_.IsConnected()) return TIdHTTPWhatsNext::Undetermined;
  if ((http_.HTTPOptions() & hoInProcessAuth) != 0) {
    DrainBody(kDrainReadTimeout);
    return TIdHTTPWhatsNext::Reauthenticate;
  }
  ReadBody(response_.BodyStream);
  return TIdHTTPWhatsNext::Finish;
}

void TIdHTTPProtocol::RaiseProtocolError() {
  TMemoryStream body;
  if (!HasNoBody()) {
    const TReadTimeoutOverride timeout(http_, kErrorBodyReadTimeout);
    try {
      ReadBody(&body, kKeptErrorBody);
    } catch (const EIdConnClosedGracefully&) {
      // A peer that closes early still leaves its reply code; the body is what arrived.
    } catch (const EIdNotConnected&) {
    }
  }
  throw EIdHTTPProtocolException(response_.StatusCode(), response_.StatusLine, body.DataString());
}

void TIdHTTPProtocol::DrainBody(int timeoutMilliseconds) {
  TMemoryStream discarded;
  const TReadTimeoutOverride timeout(http_, timeoutMilliseconds);
  try {
    ReadBody(&discarded, kKeptErrorBody);
  } catch (const Exception&) {
    http_.CloseConnection();
  }
}

}  // namespace pelmorix
