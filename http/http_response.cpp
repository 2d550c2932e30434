#include "http/http_response.h"

#include "base/convert.h"
#include "base/int64_convert.h"
#include "base/text.h"
#include "http/id_http.h"
#include "http/token.h"

namespace pelmorix {

int TIdHTTPResponse::StatusCode() const {
  std::string rest = StatusLine;
  CutToken(rest, " ");  // the version
  rest = Trim(rest);
  return StrToIntDef(CutToken(rest, " ", false), -1);
}

bool TIdHTTPResponse::KeepConnection() {
  if (StatusLine.size() >= 8) {
    const std::string version = StatusLine.substr(5, 3);
    if (version == "1.0") replyVersion_ = TIdHTTPProtocolVersion::pv1_0;
    if (version == "1.1") replyVersion_ = TIdHTTPProtocolVersion::pv1_1;
  }
  http_.CheckPeerClosed(false, false);
  if (!http_.IsConnected()) return false;
  if (http_.ProtocolVersion() == TIdHTTPProtocolVersion::pv1_0) {
    return SameText(Trim(Connection), "KEEP-ALIVE") ||
           SameText(Trim(ProxyConnection), "KEEP-ALIVE");
  }
  return !SameText(Trim(Connection), "CLOSE") && !SameText(Trim(ProxyConnection), "CLOSE");
}

int64_t TIdHTTPResponse::BodyLength() const {
  if (HasContentLength()) return ContentLength();
  // Bodies of 2 GiB and more do not fit the record's field but still have a length.
  int64_t length = -1;
  if (TryStrToInt64(HeaderLines.ValueOf("Content-Length"), length) && length >= 0) return length;
  return -1;
}

}  // namespace pelmorix
