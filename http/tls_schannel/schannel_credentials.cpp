#include "http/tls_schannel/schannel_credentials.h"

#include "http/ssl_exceptions.h"

namespace pelmorix {
namespace {

// TLS 1.2 and 1.3 where the system offers 1.3; TLS 1.2 alone where it refuses the pair.
constexpr DWORD kProtocolChoices[] = {SP_PROT_TLS1_2_CLIENT | SP_PROT_TLS1_3_CLIENT,
                                      SP_PROT_TLS1_2_CLIENT};

SECURITY_STATUS Acquire(DWORD protocols, CredHandle& handle) {
  SCHANNEL_CRED credentials{};
  credentials.dwVersion = SCHANNEL_CRED_VERSION;
  credentials.grbitEnabledProtocols = protocols;
  // The chain, its dates and the name are checked after the handshake with the CA file's
  // authorities, which the package cannot be given; no client certificate is offered.
  credentials.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
  TimeStamp expiry;
  return AcquireCredentialsHandleA(nullptr, const_cast<char*>(UNISP_NAME_A), SECPKG_CRED_OUTBOUND,
                                   nullptr, &credentials, nullptr, nullptr, &handle, &expiry);
}

}  // namespace

TSchannelCredentials::TSchannelCredentials(const TIdTlsSettings& settings)
    : verifyPeer_(settings.VerifyPeer) {
  if (verifyPeer_ && !settings.CAFile.empty()) {
    authorities_ = LoadPemCertificates(settings.CAFile);
    if (authorities_ == nullptr) {
      throw EIdSSLConnectError("SSL CA file could not be loaded: " + settings.CAFile);
    }
  }
  SECURITY_STATUS status = SEC_E_UNSUPPORTED_FUNCTION;
  for (DWORD protocols : kProtocolChoices) {
    status = Acquire(protocols, handle_);
    if (status == SEC_E_OK) return;
  }
  if (authorities_ != nullptr) CertCloseStore(authorities_, 0);
  throw EIdSSLConnectError("SSL handshake failed: " + SecurityStatusText(status));
}

TSchannelCredentials::~TSchannelCredentials() {
  FreeCredentialsHandle(&handle_);
  if (authorities_ != nullptr) CertCloseStore(authorities_, 0);
}

}  // namespace pelmorix
