#pragma once

#include <string>

#include "base/stream.h"
#include "http/request_header.h"

namespace pelmorix {

enum class TIdHTTPMethod { Head, Get, Post, Options, Trace, Put, Connect };
enum class TIdHTTPConnectionType { Direct, DirectSsl, Proxy, ProxySsl };
enum class TIdHTTPProtocolVersion { pv1_0, pv1_1 };

// The request of a client: its header fields, what is asked for and how it travels.
class TIdHTTPRequest : public TIdRequestHeaderInfo {
 public:
  // The URL the caller passes; after composition, the target of the request line.
  std::string Target;
  TIdHTTPMethod Verb = TIdHTTPMethod::Get;
  // The body of a POST or PUT; not owned.
  TStream* UploadStream = nullptr;
  TIdHTTPConnectionType ConnectionKind = TIdHTTPConnectionType::Direct;
};

// Whether the request travels over an SSL transport.
bool IsSecure(TIdHTTPConnectionType kind);
// The word that opens the request line, with its trailing space ("GET ").
const char* MethodWord(TIdHTTPMethod method);
// Methods that exist only in HTTP 1.1.
bool NeedsProtocol11(TIdHTTPMethod method);
// "GET /path/doc?params HTTP/1.1"
std::string RequestLine(const TIdHTTPRequest& request, TIdHTTPProtocolVersion version);

}  // namespace pelmorix
