#include "http/ssl_exceptions.h"
#include "http/tls_session.h"

namespace pelmorix {

// FIXME: the Schannel engine for Windows is not built; until it is, "https" fails at the
// handshake with this message.
std::unique_ptr<TIdTlsContext> NewTlsContext(const TIdTlsSettings&) {
  throw EIdSSLConnectError("SSL handshake failed: this build has no TLS engine");
}

}  // namespace pelmorix
