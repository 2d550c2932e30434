#pragma once

#include "http/http_request.h"
#include "http/id_exception.h"
#include "http/uri.h"

namespace pelmorix {

PELMORIX_DECLARE_EXCEPTION(EIdUnknownProtocol, EIdException);

// Turns the URL in the request's Target into the client's remembered URL and the target of the
// request line. A relative URL resolves against the remembered path, host and port; a client
// seeds its remembered URL's Port with the text of its own Port (80) before the first request. Sets
// the request's credentials from the URL's user info, its ContentLength and its Host. Raises
// EIdUnknownProtocol when no port can be told, and EIdException for a method that needs
// HTTP 1.1 under version 1.0.
void ComposeRequest(TIdHTTPRequest& request, TIdURI& currentUrl, TIdHTTPProtocolVersion version);

}  // namespace pelmorix
