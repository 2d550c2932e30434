#include "http/http_protocol.h"

#include <algorithm>

#include "base/text.h"
#include "http/id_http.h"
#include "http/request_composition.h"
#include "http/socket_exceptions.h"

namespace pelmorix {
namespace {

bool HasUpload(TIdHTTPMethod method) {
  return method == TIdHTTPMethod::Post || method == TIdHTTPMethod::Put;
}

// The last guard before the head leaves: the values composed from the record were checked
// before connecting (ComposeRequest), but the "Cookie" and the credential lines are made only
// now, and folding has already cut a value at each CR LF of its own, so what is left to find
// here is a lone CR, LF or NUL.
void CheckLinesToSend(const std::string& requestLine, const TIdHeaderList& lines) {
  if (HoldsLineBreakOrNul(requestLine)) {
    throw EIdInvalidRequestCharacter("Request target holds CR, LF or NUL.");
  }
  for (const std::string& line : lines.Lines()) {
    if (HoldsLineBreakOrNul(line)) ThrowInvalidHeaderValue(line.substr(0, line.find(':')));
  }
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

  const std::string requestLine = RequestLine(request_, http_.ProtocolVersion());
  CheckLinesToSend(requestLine, request_.HeaderLines);

  // The whole head leaves in one send.
  http_.BeginSendBatch(-1);
  try {
    http_.SendLine(requestLine);
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

std::string TIdHTTPProtocol::ReceiveHeadLine() {
  const int64_t left = kMaxHeadBytes - headBytes_;
  // Without a line limit of the client's own, or with one beyond what the head has left, the
  // head's bound is the line's, so that no single line outgrows it either.
  int maximum = http_.MaxLineLength();
  const bool boundByHead = maximum <= 0 || maximum > left;
  if (boundByHead) maximum = static_cast<int>(std::max<int64_t>(left, 1));
  std::string line;
  try {
    line = http_.ReceiveLine("\n", -1, maximum);
  } catch (const EIdReadLnMaxLineLengthExceeded&) {
    if (!boundByHead) throw;
    http_.CloseConnection();
    throw EIdReplyHeadTooLarge("Reply head too large.");
  }
  headBytes_ += static_cast<int64_t>(line.size()) + 2;
  if (headBytes_ > kMaxHeadBytes) {
    http_.CloseConnection();
    throw EIdReplyHeadTooLarge("Reply head too large.");
  }
  return line;
}

void TIdHTTPProtocol::RetrieveHeaders() {
  response_.HeaderLines.Clear();
  try {
    for (std::string line = ReceiveHeadLine(); !line.empty(); line = ReceiveHeadLine()) {
      response_.HeaderLines.Add(std::move(line));
    }
  } catch (const EIdConnClosedGracefully&) {
    // The reply is judged by what arrived.
    http_.CloseConnection();
  }
  response_.ParseHeaderLines();
}

}  // namespace pelmorix
