#pragma once

#include "http/id_exception.h"

namespace pelmorix {

// The TLS handshake failed: the peer speaks no TLS 1.2 or 1.3, refused us, or went away.
PELMORIX_DECLARE_EXCEPTION(EIdSSLConnectError, EIdException);
// The handshake failed because the server's certificate was not accepted; the message says why.
PELMORIX_DECLARE_EXCEPTION(EIdSSLCertificateError, EIdSSLConnectError);
// A TLS session broke after its handshake (a record that does not decrypt, a fatal alert).
PELMORIX_DECLARE_EXCEPTION(EIdSSLSessionError, EIdException);

}  // namespace pelmorix
