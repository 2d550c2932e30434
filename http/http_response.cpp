#include "http/http_response.h"

#include "base/convert.h"
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

}  // namespace pelmorix
