#include <cstdint>
#include <string>

#include "base/convert.h"
#include "base/text.h"
#include "http/http_protocol.h"
#include "http/id_http.h"

namespace pelmorix {
namespace {

// Chunk size lines: the size in hexadecimal digits of either case, optionally followed by a
// space, a TAB or ";" and an extension, which is ignored. Anything else counts as 0, the end.
uint32_t ChunkSize(const std::string& line) {
  const std::string digits = line.substr(0, line.find_first_of(" \t;"));
  uint32_t size = 0;
  return TryHexToUInt(digits, size) ? size : 0;
}

bool IsChunked(const TIdHTTPResponse& response) {
  return LowerCase(response.HeaderLines.ValueOf("Transfer-Encoding")).find("chunked") !=
         std::string::npos;
}

}  // namespace

// Replies to HEAD and replies with these codes end with their head.
bool TIdHTTPProtocol::HasNoBody() const {
  const int code = response_.StatusCode();
  return request_.Verb == TIdHTTPMethod::Head || code / 100 == 1 || code == 204 || code == 304;
}

void TIdHTTPProtocol::ReadBody(TStream* stream) {
  if (stream == nullptr) return;
  const int64_t length = response_.BodyLength();
  if (length >= 1) {
    http_.ReceiveToStream(*stream, length);
  } else if (IsChunked(response_)) {
    ReadChunkedBody(*stream);
  } else if (length < 0) {
    http_.ReceiveToStream(*stream, -1, true);
  }
}

void TIdHTTPProtocol::ReadChunkedBody(TStream& stream) {
  http_.ReportStatus(hsStatusText, "Chunk Started");
  for (uint32_t size; (size = ChunkSize(http_.ReceiveLine())) > 0;) {
    http_.ReceiveToStream(stream, size);
    http_.ReceiveLine();  // the line end after the data
  }
  // Trailer lines, up to the empty line that ends the body.
  while (!http_.ReceiveLine().empty()) {
  }
}

}  // namespace pelmorix
