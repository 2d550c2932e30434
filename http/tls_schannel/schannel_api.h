#pragma once

// The system's security calls (SSPI with its Schannel package, and the certificate calls), with
// the Windows headers in the one order they compile in. The socket names come first: the
// Windows headers define some of them as macros, which would rewrite their declarations.
#include "http/tls_session.h"

#define WIN32_LEAN_AND_MEAN
// The chain parameters with the bound of their network lookups.
#define CERT_CHAIN_PARA_HAS_EXTRA_FIELDS
#include <windows.h>
// windows.h above must come first.
#include <wincrypt.h>
#define SECURITY_WIN32
// The newer credentials record (SCH_CREDENTIALS), the one through which Windows offers TLS 1.3.
#define SCHANNEL_USE_BLACKLISTS
#include <subauth.h>
// subauth.h above gives the newer record its string type.
#include <schannel.h>
#include <security.h>

#include <string>

namespace pelmorix {

// The system's text for a security status, or its number in hex when the system has none.
std::string SecurityStatusText(SECURITY_STATUS status);

}  // namespace pelmorix
