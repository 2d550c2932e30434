#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "http/http_protocol.h"
#include "http/id_http.h"
#include "http/reply_framing.h"
#include "http/socket_exceptions.h"

namespace pelmorix {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Chunk size lines: the size in hexadecimal digits of either case, optionally followed by a
// space, a TAB or ";" and an extension, which is ignored. -1 for anything else: no digits, a
// character that is not one ("0x10", "-3", "zz"), or a size beyond 63 bits.
int64_t ChunkSize(const std::string& line) {
  const std::string_view digits = std::string_view(line).substr(0, line.find_first_of(" \t;"));
  if (digits.empty()) return -1;
  int64_t size = 0;
  for (const char c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0 || size > (INT64_MAX - digit) / 16) return -1;
    size = size * 16 + digit;
  }
  return size;
}

}  // namespace

// Replies to HEAD and replies with these codes end with their head.
bool TIdHTTPProtocol::HasNoBody() const {
  const int code = response_.StatusCode();
  return request_.Verb == TIdHTTPMethod::Head || code / 100 == 1 || code == 204 || code == 304;
}

void TIdHTTPProtocol::ReadBody(TStream* stream, int64_t keep) {
  if (stream == nullptr) return;
  const TIdReplyFraming framing = ReplyFraming(response_.HeaderLines);
  if (framing.Kind == TIdReplyFraming::kChunked) {
    ReadChunkedBody(*stream, keep);
    if (framing.EndsConnection) http_.CloseConnection();
  } else if (framing.Kind == TIdReplyFraming::kUntilClose) {
    ReadUntilClose(*stream, keep);
  } else if (framing.Length >= 1) {
    http_.ReceiveToStream(*stream, std::min(framing.Length, keep));
    // The rest is not worth reading: the connection goes with it.
    if (framing.Length > keep) http_.CloseConnection();
  }
}

void TIdHTTPProtocol::ReadUntilClose(TStream& stream, int64_t keep) {
  if (keep == kWholeBody) {
    http_.ReceiveToStream(stream, -1, true);
    return;
  }
  try {
    http_.ReceiveToStream(stream, keep);
  } catch (const EIdConnClosedGracefully&) {
    return;  // the body ended before the bound
  }
  http_.CloseConnection();
}

void TIdHTTPProtocol::FailChunkFraming() {
  // Where the chunk ends, and with it the next reply begins, is lost; the chunks before it stay
  // in the stream.
  http_.CloseConnection();
  throw EIdInvalidChunkSize("Invalid chunk size.");
}

void TIdHTTPProtocol::ReadChunkedBody(TStream& stream, int64_t keep) {
  http_.ReportStatus(hsStatusText, "Chunk Started");
  int64_t left = keep;
  for (;;) {
    const int64_t size = ChunkSize(http_.ReceiveLine());
    // A size the stream could not hold counts as unreadable too.
    if (size < 0 || size > INT64_MAX - stream.Position()) FailChunkFraming();
    if (size == 0) break;
    if (size > left) {
      if (left > 0) http_.ReceiveToStream(stream, left);
      http_.CloseConnection();
      return;
    }
    http_.ReceiveToStream(stream, size);
    left -= size;
    // Anything before the line end shows a size that did not match the data.
    if (!http_.ReceiveLine().empty()) FailChunkFraming();
  }
  // Trailer lines, up to the empty line that ends the body; they count as part of the head.
  while (!ReceiveHeadLine().empty()) {
  }
}

}  // namespace pelmorix
