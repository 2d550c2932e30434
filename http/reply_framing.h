#pragma once

#include <cstdint>

#include "http/header_list.h"

namespace pelmorix {

// Where the body of a reply ends.
struct TIdReplyFraming {
  enum TKind { kLength, kChunked, kUntilClose };
  TKind Kind = kUntilClose;
  // kLength: the byte count, 0 and more.
  int64_t Length = -1;
  // A chunked reply that also names a length: a peer on the way may have framed it by the
  // length, so what follows on the connection can no longer be trusted to be the next reply.
  bool EndsConnection = false;
};

// The framing the reply's headers give: a transfer coding before any "Content-Length", else
// the length, else the peer's close. Only "chunked" as the one coding besides "identity" can be
// read; any other raises EIdUnsupportedTransferCoding. "Content-Length" values that differ
// raise EIdConflictingContentLength.
TIdReplyFraming ReplyFraming(const TIdHeaderList& headers);

}  // namespace pelmorix
