#pragma once

#include <cstdint>
#include <string>

#include "base/stream.h"
#include "http/http_request.h"
#include "http/response_header.h"

namespace pelmorix {

class TIdCustomHTTP;

// The reply a client read last: its status line, its header fields, where its body goes, and
// whether the connection may stay open after it.
class TIdHTTPResponse : public TIdResponseHeaderInfo {
 public:
  explicit TIdHTTPResponse(TIdCustomHTTP& http) : http_(http) {}

  // The first line of the reply, without its line end.
  std::string StatusLine;
  // The number after the version in the status line; -1 when there is none.
  int StatusCode() const;
  // The version the status line names (the last one read); recorded, not acted on.
  TIdHTTPProtocolVersion ReplyVersion() const { return replyVersion_; }
  // Whether the connection stays open after this reply, by the client's own protocol version:
  // 1.0 keeps it only on "keep-alive", 1.1 unless "close". False once it is closed.
  bool KeepConnection();
  // Receives the body; not owned.
  TStream* BodyStream = nullptr;

 private:
  TIdCustomHTTP& http_;
  TIdHTTPProtocolVersion replyVersion_ = TIdHTTPProtocolVersion::pv1_0;
};

}  // namespace pelmorix
