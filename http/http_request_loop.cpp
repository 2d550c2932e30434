#include "base/convert.h"
#include "base/text.h"
#include "http/id_http.h"
#include "http/io_handler_ssl_socket.h"
#include "http/request_composition.h"
#include "http/socket_exceptions.h"

namespace pelmorix {
namespace {

bool IsHttps(const TIdURI& url) { return SameText(url.Protocol, "HTTPS"); }

// The caller's stream loses what an attempt that is not the last one wrote into it.
void CutBack(TStream* stream, int64_t position) {
  if (stream == nullptr) return;
  if (stream->Size() > position) stream->SetSize(position);
  stream->SetPosition(position);
}

}  // namespace

void TIdCustomHTTP::DoRequest(TIdHTTPMethod method, const std::string& url, TStream* source,
                              TStream* responseContent) {
  TIdHTTPRequest& request = Request();
  const int64_t startPosition = responseContent != nullptr ? responseContent->Position() : 0;
  request.Target = url;
  request.Verb = method;
  request.UploadStream = source;
  Response().BodyStream = responseContent;
  protocol_->StartRequest();
  // Each request counts its own attempts; one that failed must not use up the next one's.
  redirectCount_ = 0;
  try {
    for (;;) {
      ++redirectCount_;
      const bool urlCredentials = ComposeRequest(request, currentUrl_, protocolVersion_);
      request.WithholdCredentials = !credentialOrigin_.Admit(currentUrl_, urlCredentials, request);
      PrepareConnection();
      protocol_->BuildAndSendRequest();
      ReadReplyHead();
      const TIdHTTPWhatsNext next = protocol_->ProcessResponse();
      if (next == TIdHTTPWhatsNext::Finish) break;
      if (next == TIdHTTPWhatsNext::Undetermined) throw EIdException("Undefined situation");
      if (next == TIdHTTPWhatsNext::Follow) {
        CutBack(responseContent, startPosition);
      } else {  // Reauthenticate
        --redirectCount_;
        request.Target = url;
      }
    }
  } catch (const EIdHTTPProtocolException&) {
    // The reply and its body were read whole, so the connection may serve the next request.
    EndRequest();
    throw;
  } catch (const EIdRedirectRefused&) {
    // So was the refused redirect's.
    EndRequest();
    throw;
  } catch (const EIdInvalidRequestCharacter&) {
    // Refused before this attempt sent anything; an earlier one's reply was read whole.
    EndRequest();
    throw;
  } catch (...) {
    // Anything else may leave part of a reply in the connection, in front of the next one.
    CloseConnection();
    throw;
  }
  EndRequest();
  redirectCount_ = 0;
}

void TIdCustomHTTP::EndRequest() {
  if (protocol_->CloseAfterRequest() || !Response().KeepConnection()) CloseConnection();
}

void TIdCustomHTTP::PrepareConnection() {
  if (proxyParams_.ProxyServer().empty()) {
    ChooseDirectConnection();
  } else {
    ChooseProxyConnection();
  }
  TIdHTTPRequest& request = Request();
  const TIdHTTPConnectionType kind = request.ConnectionKind;
  if (kind == TIdHTTPConnectionType::Direct || kind == TIdHTTPConnectionType::Proxy) {
    if (protocolVersion_ == TIdHTTPProtocolVersion::pv1_0 && request.Connection.empty()) {
      if (kind == TIdHTTPConnectionType::Direct) {
        request.Connection = "keep-alive";
      } else {
        request.ProxyConnection = "keep-alive";
      }
    }
  } else {
    request.Connection.clear();
  }
  if (!Response().KeepConnection()) CloseConnection();
  try {
    ProbePeerClosed(false, KeptConnectionProbeWait());
  } catch (const EIdSocketError&) {
    // A kept connection the server has reset serves no more requests.
    CloseConnection();
  }
  if (!IsConnected()) OpenConnection(connectTimeout_);
}

// A server that answered with HTTP/1.1 keeps its connection open unless it said "close", so a
// close it sent anyway has long arrived and a probe that does not wait finds it; waiting cost
// each request on a kept connection a millisecond. A 1.0 server closes after its reply unless
// it asked for keep-alive, and that close may still be on its way: it is given the millisecond.
int TIdCustomHTTP::KeptConnectionProbeWait() {
  const TIdHTTPResponse& reply = Response();
  const bool keepsByItsProtocol = reply.ReplyVersion() == TIdHTTPProtocolVersion::pv1_1 ||
                                  SameText(Trim(reply.Connection), "KEEP-ALIVE");
  return keepsByItsProtocol ? 0 : 1;
}

void TIdCustomHTTP::ChooseDirectConnection() {
  if (!SameText(Host(), currentUrl_.Host) || Port() != StrToInt(currentUrl_.Port)) {
    if (IsConnected()) CloseConnection();
    const std::string host = currentUrl_.Host;
    const int port = StrToInt(currentUrl_.Port);
    SetHost(host);
    SetPort(port);
  }
  ChooseEncryption(IsHttps(currentUrl_));
}

// An SSL transport carries "https" URLs encrypted and every other URL plain; a connection
// open in the other mode is closed first, so no request goes out in the wrong one.
void TIdCustomHTTP::ChooseEncryption(bool https) {
  auto* ssl = dynamic_cast<TIdSSLIOHandlerSocket*>(IOHandler());
  if (https && ssl == nullptr) throw EIdIOHandlerPropInvalid("IOHandler value is not valid");
  if (ssl != nullptr) {
    if (ssl->PassThrough() == https && IsConnected()) CloseConnection();
    ssl->SetPassThrough(!https);
  }
  Request().ConnectionKind =
      https ? TIdHTTPConnectionType::DirectSsl : TIdHTTPConnectionType::Direct;
}

void TIdCustomHTTP::ChooseProxyConnection() {
  if (!SameText(Host(), proxyParams_.ProxyServer()) || Port() != proxyParams_.ProxyPort()) {
    if (IsConnected()) CloseConnection();
  }
  // The connection goes to the proxy; the remembered URL keeps naming the server.
  TIdTCPClient::SetHost(proxyParams_.ProxyServer());
  TIdTCPClient::SetPort(proxyParams_.ProxyPort());
  if (IsHttps(currentUrl_)) {
    // The tunnel through a proxy (CONNECT) is not built, with an SSL transport or without.
    Request().ConnectionKind = TIdHTTPConnectionType::ProxySsl;
    throw EIdIOHandlerPropInvalid("IOHandler value is not valid");
  }
  Request().ConnectionKind = TIdHTTPConnectionType::Proxy;
  Request().Target = currentUrl_.GetURI();
}

void TIdCustomHTTP::ReadReplyHead() {
  TIdHTTPResponse& response = Response();
  protocol_->StartReplyHead();
  for (int skipped = 0;; ++skipped) {
    if (skipped > TIdHTTPProtocol::kMaxInterimReplies) {
      CloseConnection();
      throw EIdTooManyInterimReplies("Too many interim replies.");
    }
    response.StatusLine = protocol_->ReceiveHeadLine();
    protocol_->RetrieveHeaders();
    ProcessCookies();
    if (response.StatusCode() != 100) return;
  }
}

void TIdCustomHTTP::ProcessCookies() {
  if (cookieManager_ == nullptr && allowCookies_) {
    ownCookieManager_ = std::make_unique<TIdCookieManager>();
    cookieManager_ = ownCookieManager_.get();
  }
  if (cookieManager_ == nullptr) return;
  const TIdHeaderList& lines = Response().HeaderLines;
  // One answer of the platform's time zone serves every cookie of the reply.
  TLocalOffsetOnce localOffset;
  const bool secure = IsSecure(Request().ConnectionKind);
  std::vector<std::string> values;
  lines.ValuesOf("Set-cookie", values);
  for (const std::string& value : values) {
    cookieManager_->AddCookie(value, currentUrl_.Host, secure, localOffset);
  }
  values.clear();
  lines.ValuesOf("Set-cookie2", values);
  for (const std::string& value : values) {
    cookieManager_->AddCookie2(value, currentUrl_.Host, secure, localOffset);
  }
}

}  // namespace pelmorix
