#pragma once

#include <cstdint>
#include <string>

#include "base/stream.h"
#include "http/http_request.h"
#include "http/http_response.h"

namespace pelmorix {

class TIdCustomHTTP;

// What the request loop does after one reply.
enum class TIdHTTPWhatsNext { Follow, Finish, Undetermined, Reauthenticate };

// The exchange of one client: its request and response records, sending the request head,
// reading the reply head and deciding what follows each reply.
class TIdHTTPProtocol {
 public:
  // Bounds of what one attempt reads as head, well above anything real: the bytes of the status
  // and header lines of its replies, the skipped "100" replies included, and of the trailers of
  // a chunked body, each line counted with two bytes for its end; and the count of skipped
  // "100" replies.
  static constexpr int64_t kMaxHeadBytes = 1024 * 1024;
  static constexpr int kMaxInterimReplies = 16;
  // What is kept of the body of a refused reply or a redirect, enough for any message a server
  // writes; a longer body is cut there and its connection closed.
  static constexpr int64_t kKeptErrorBody = 64 * 1024;
  static constexpr int64_t kWholeBody = INT64_MAX;

  explicit TIdHTTPProtocol(TIdCustomHTTP& http);
  TIdHTTPProtocol(const TIdHTTPProtocol&) = delete;
  TIdHTTPProtocol& operator=(const TIdHTTPProtocol&) = delete;

  TIdHTTPRequest& Request() { return request_; }
  TIdHTTPResponse& Response() { return response_; }

  // Builds the header lines (with proxy credentials and cookies) and sends the request line,
  // the lines and the empty line in one piece, then a POST or PUT body.
  void BuildAndSendRequest();
  // Starts counting the head of an attempt afresh (kMaxHeadBytes).
  void StartReplyHead() { headBytes_ = 0; }
  // One line of the head, counted against kMaxHeadBytes; past it raises EIdReplyHeadTooLarge.
  std::string ReceiveHeadLine();
  // Reads the header lines after the status line up to the empty line; a peer that closes
  // meanwhile closes the connection and ends the head there. Then parses the fields.
  void RetrieveHeaders();
  // Decides on the reply just read and reads its body where it has one. Raises
  // EIdHTTPProtocolException for a reply that is not accepted.
  TIdHTTPWhatsNext ProcessResponse();

  // Set when the body was left unread, or a reply is left behind an interim one, so the
  // connection cannot serve another request.
  bool CloseAfterRequest() const { return closeAfterRequest_; }
  void StartRequest() { closeAfterRequest_ = false; }

 private:
  TIdHTTPWhatsNext ProcessRedirect();
  TIdHTTPWhatsNext ProcessAuthentication(bool proxy);
  [[noreturn]] void RaiseProtocolError();
  bool HasNoBody() const;
  // Reads the body into the stream (nothing without a stream) chunk by chunk, by its length,
  // or up to the peer's close (ReplyFraming). A body shorter than its length raises
  // EIdConnClosedGracefully. Past keep bytes the rest is left unread and the connection closed;
  // so is a chunked body that also named a length.
  void ReadBody(TStream* stream, int64_t keep = kWholeBody);
  void ReadChunkedBody(TStream& stream, int64_t keep);
  void ReadUntilClose(TStream& stream, int64_t keep);
  // A chunk size that is no number or does not match its data: closes and raises.
  [[noreturn]] void FailChunkFraming();
  // Reads and drops the body with a read time-out of its own, up to kKeptErrorBody; a failure
  // or a longer body closes the connection, since the rest would stand in front of the next
  // reply.
  void DrainBody(int timeoutMilliseconds);
  // The body of a redirect that is followed or refused, drained while the connection is open.
  void SkipRedirectBody();

  TIdCustomHTTP& http_;
  TIdHTTPRequest request_;
  TIdHTTPResponse response_;
  bool closeAfterRequest_ = false;
  int64_t headBytes_ = 0;
};

}  // namespace pelmorix
