#pragma once

#include "http/tls_schannel/schannel_api.h"
#include "http/tls_session.h"

namespace pelmorix {

// Checks the server's certificate (with the chain the server sent beside it): the chain must end
// in one of the authorities, or in the system's trust store when authorities is nullptr; every
// certificate of it must be within its dates; a name must be one the certificate names, an
// address one of its addresses; no certificate but the root may be known as revoked. Where no
// revocation source answers within lookupTimeoutMilliseconds (all lookups together; 0: the
// system's bound) the certificate still passes. A refusal raises EIdSSLCertificateError saying
// why.
void CheckServerCertificate(PCCERT_CONTEXT certificate, HCERTSTORE authorities,
                            const TIdTlsPeer& peer, int lookupTimeoutMilliseconds);

}  // namespace pelmorix
