#include "http/http_protocol.h"

#include "http/id_http.h"
#include "http/socket_exceptions.h"

namespace pelmorix {
namespace {

bool IsSecure(TIdHTTPConnectionType kind) {
  return kind == TIdHTTPConnectionType::DirectSsl || kind == TIdHTTPConnectionType::ProxySsl;
}

bool HasUpload(TIdHTTPMethod method) {
  return method == TIdHTTPMethod::Post || method == TIdHTTPMethod::Put;
}

}  // namespace

TIdHTTPProtocol::TIdHTTPProtocol(TIdCustomHTTP& http) : http_(http), response_(http) {}

void TIdHTTPProtocol::BuildAndSendRequest() {
  request_.BuildHeaderLines();
  TIdProxyConnectionInfo& proxy = http_.ProxyParams();
  const std::string proxyAuthorization = AuthorizationValue(
      proxy.Authenticator, proxy.BasicAuthentication, proxy.ProxyUsername, proxy.ProxyPassword);
  if (!proxyAuthorization.empty()) {
    request_.HeaderLines.SetValue("Proxy-Authorization", proxyAuthorization);
  }
  if (TIdCookieManager* cookies = http_.CookieManager()) {
    const std::string text = cookies->CookieTextFor(http_.URL(), IsSecure(request_.ConnectionKind));
    if (!text.empty()) request_.HeaderLines.SetValue("Cookie", text);
  }

  // The whole head leaves in one send.
  http_.BeginSendBatch(-1);
  try {
    http_.SendLine(RequestLine(request_, http_.ProtocolVersion()));
    for (const std::string& line : request_.HeaderLines.Lines()) {
      if (!line.empty()) http_.SendLine(line);
    }
    http_.SendLine();
    http_.EndSendBatch();
  } catch (...) {
    http_.DiscardSendBatch();
    throw;
  }
  if (HasUpload(request_.Verb) && request_.UploadStream != nullptr) {
    http_.SendStream(*request_.UploadStream, true);
  }
}

void TIdHTTPProtocol::RetrieveHeaders() {
  response_.HeaderLines.Clear();
  try {
    for (std::string line = http_.ReceiveLine(); !line.empty(); line = http_.ReceiveLine()) {
      response_.HeaderLines.Add(std::move(line));
    }
  } catch (const EIdConnClosedGracefully&) {
    // The reply is judged by what arrived.
    http_.CloseConnection();
  }
  response_.ParseHeaderLines();
}

}  // namespace pelmorix
