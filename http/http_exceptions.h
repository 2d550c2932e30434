#pragma once

#include <string>

#include "http/id_exception.h"

namespace pelmorix {

// A reply the client does not accept; carries the reply's code.
class EIdProtocolReplyError : public EIdException {
 public:
  EIdProtocolReplyError(int replyCode, std::string message)
      : EIdException(std::move(message)), replyCode_(replyCode) {}
  int ReplyCode() const { return replyCode_; }
  const char* ClassName() const noexcept override { return "EIdProtocolReplyError"; }

 private:
  int replyCode_;
};

// An HTTP reply that ends the request: the message is the status line as the server sent it,
// the code its number (-1 when it has none) and the body the reply's body as text.
class EIdHTTPProtocolException : public EIdProtocolReplyError {
 public:
  EIdHTTPProtocolException(int replyCode, std::string statusLine, std::string errorBody)
      : EIdProtocolReplyError(replyCode, std::move(statusLine)), errorBody_(std::move(errorBody)) {}
  const std::string& ErrorBody() const { return errorBody_; }
  const char* ClassName() const noexcept override { return "EIdHTTPProtocolException"; }

 private:
  std::string errorBody_;
};

// The transport cannot carry the request (an "https" URL without an SSL transport).
PELMORIX_DECLARE_EXCEPTION(EIdIOHandlerPropInvalid, EIdException);

// A redirect that a client set to follow redirects does not follow. The redirect's reply was
// read whole, so the connection may serve the next request.
PELMORIX_DECLARE_EXCEPTION(EIdRedirectRefused, EIdException);
// The redirect that reaches RedirectMaximum (a loop):
PELMORIX_DECLARE_EXCEPTION(EIdTooManyRedirects, EIdRedirectRefused);
// A redirect to a scheme other than http and https:
PELMORIX_DECLARE_EXCEPTION(EIdRedirectSchemeRefused, EIdRedirectRefused);
// A redirect from https to http that no redirect handler allowed:
PELMORIX_DECLARE_EXCEPTION(EIdInsecureRedirect, EIdRedirectRefused);

// Replies whose framing the client does not follow; each closes the connection, since where the
// next reply begins is no longer known. A chunk size that is not a hexadecimal number:
PELMORIX_DECLARE_EXCEPTION(EIdInvalidChunkSize, EIdException);
// A transfer coding other than "chunked" alone, which would hand coded bytes over as the body:
PELMORIX_DECLARE_EXCEPTION(EIdUnsupportedTransferCoding, EIdException);
// "Content-Length" values that differ:
PELMORIX_DECLARE_EXCEPTION(EIdConflictingContentLength, EIdException);
// A head (the status and header lines of a reply and of the interim replies before it, and the
// trailers of its chunked body) past TIdHTTPProtocol::kMaxHeadBytes:
PELMORIX_DECLARE_EXCEPTION(EIdReplyHeadTooLarge, EIdException);
// More than TIdHTTPProtocol::kMaxInterimReplies "100" replies before the real one:
PELMORIX_DECLARE_EXCEPTION(EIdTooManyInterimReplies, EIdException);

}  // namespace pelmorix
