#pragma once

#include "http/tls_schannel/schannel_api.h"
#include "http/tls_session.h"

namespace pelmorix {

// The protocols a session may speak.
constexpr DWORD kSchannelProtocols = SP_PROT_TLS1_2_CLIENT | SP_PROT_TLS1_3_CLIENT;

// The client credentials of the Schannel package (TLS 1.2 and 1.3, the certificate checked by
// us, not by the package) and the authorities to trust; shared by a context and its sessions,
// so a session outlives a context that is replaced. The security library is loaded with the
// credentials rather than at the program's start: wine's starts the socket library when it
// loads, which would count as a start of the program's own.
class TSchannelCredentials {
 public:
  // A CA file that cannot be read or holds no certificate raises EIdSSLConnectError.
  explicit TSchannelCredentials(const TIdTlsSettings& settings);
  ~TSchannelCredentials();
  TSchannelCredentials(const TSchannelCredentials&) = delete;
  TSchannelCredentials& operator=(const TSchannelCredentials&) = delete;

  CredHandle* Handle() { return &handle_; }
  // The package's calls, from the system's security library.
  const SecurityFunctionTableA& Sspi() const { return *sspi_; }
  bool VerifyPeer() const { return verifyPeer_; }
  // The authorities of the CA file; nullptr: the system's trust store.
  HCERTSTORE Authorities() const { return authorities_; }

 private:
  HMODULE library_ = nullptr;
  PSecurityFunctionTableA sspi_ = nullptr;
  CredHandle handle_{};
  HCERTSTORE authorities_ = nullptr;
  bool verifyPeer_ = true;
};

// A memory store of every certificate of a PEM file; nullptr when it cannot be read or holds none.
HCERTSTORE LoadPemCertificates(const std::string& fileName);

}  // namespace pelmorix
