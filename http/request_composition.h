#pragma once

#include <string>

#include "http/http_request.h"
#include "http/id_exception.h"
#include "http/uri.h"

namespace pelmorix {

PELMORIX_DECLARE_EXCEPTION(EIdUnknownProtocol, EIdException);
// A request target or header value that holds CR, LF or NUL, which would end its line on the
// wire and let the rest pass for lines of its own. Raised before anything is sent.
PELMORIX_DECLARE_EXCEPTION(EIdInvalidRequestCharacter, EIdException);

// Turns the URL in the request's Target into the client's remembered URL and the target of the
// request line. A relative URL resolves against the remembered path, host and port ("//host/x"
// against the remembered scheme, "?query" against the remembered document); a client
// seeds its remembered URL's Port with the text of its own Port (80) before the first request. Sets
// the request's credentials from the URL's user info, its ContentLength and its Host. Raises
// EIdUnknownProtocol when no port can be told, EIdException for a method that needs
// HTTP 1.1 under version 1.0, and EIdInvalidRequestCharacter (CheckRequestText) last. Gives
// whether the URL carried credentials (a user name).
bool ComposeRequest(TIdHTTPRequest& request, TIdURI& currentUrl, TIdHTTPProtocolVersion version);

// Raises EIdInvalidRequestCharacter when the request's Target, a text field that becomes a
// header line or a line of its CustomHeaders holds CR, LF or NUL: on the wire such a character
// would end the line, and what follows it would be taken for lines of their own.
void CheckRequestText(const TIdHTTPRequest& request);

// The exception of CheckRequestText (HoldsLineBreakOrNul of base/text.h), also used on the lines
// as they are sent.
[[noreturn]] void ThrowInvalidHeaderValue(const std::string& name);

}  // namespace pelmorix
