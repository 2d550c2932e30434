#include "http/http_request.h"

namespace pelmorix {

bool IsSecure(TIdHTTPConnectionType kind) {
  return kind == TIdHTTPConnectionType::DirectSsl || kind == TIdHTTPConnectionType::ProxySsl;
}

const char* MethodWord(TIdHTTPMethod method) {
  switch (method) {
    case TIdHTTPMethod::Head:
      return "HEAD ";
    case TIdHTTPMethod::Get:
      return "GET ";
    case TIdHTTPMethod::Post:
      return "POST ";
    case TIdHTTPMethod::Options:
      return "OPTIONS ";
    case TIdHTTPMethod::Trace:
      return "TRACE ";
    case TIdHTTPMethod::Put:
      return "PUT ";
    case TIdHTTPMethod::Connect:
      return "CONNECT ";
  }
  return "GET ";
}

bool NeedsProtocol11(TIdHTTPMethod method) {
  return method == TIdHTTPMethod::Options || method == TIdHTTPMethod::Trace ||
         method == TIdHTTPMethod::Put;
}

std::string RequestLine(const TIdHTTPRequest& request, TIdHTTPProtocolVersion version) {
  return MethodWord(request.Verb) + request.Target + " HTTP/" +
         (version == TIdHTTPProtocolVersion::pv1_0 ? "1.0" : "1.1");
}

}  // namespace pelmorix
