#include "http/tls_schannel/schannel_credentials.h"

#include "http/ssl_exceptions.h"

namespace pelmorix {
namespace {

// The chain, its dates and the name are checked after the handshake with the CA file's
// authorities, which the package cannot be given; no client certificate is offered.
constexpr DWORD kCredentialFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;

SECURITY_STATUS AcquireWith(const SecurityFunctionTableA& sspi, void* credentials,
                            CredHandle& handle) {
  TimeStamp expiry;
  return sspi.AcquireCredentialsHandleA(nullptr, const_cast<char*>(UNISP_NAME_A),
                                        SECPKG_CRED_OUTBOUND, nullptr, credentials, nullptr,
                                        nullptr, &handle, &expiry);
}

// The newer record names the protocols to leave out; Windows offers TLS 1.3 only through it.
SECURITY_STATUS AcquireNewer(const SecurityFunctionTableA& sspi, CredHandle& handle) {
  TLS_PARAMETERS parameters{};
  parameters.grbitDisabledProtocols = ~kSchannelProtocols;
  SCH_CREDENTIALS credentials{};
  credentials.dwVersion = SCH_CREDENTIALS_VERSION;
  credentials.dwFlags = kCredentialFlags;
  credentials.cTlsParameters = 1;
  credentials.pTlsParameters = &parameters;
  return AcquireWith(sspi, &credentials, handle);
}

// The older record names the protocols to offer.
SECURITY_STATUS AcquireOlder(const SecurityFunctionTableA& sspi, DWORD protocols,
                             CredHandle& handle) {
  SCHANNEL_CRED credentials{};
  credentials.dwVersion = SCHANNEL_CRED_VERSION;
  credentials.grbitEnabledProtocols = protocols;
  credentials.dwFlags = kCredentialFlags;
  return AcquireWith(sspi, &credentials, handle);
}

// Credentials that would speak no protocol but TLS 1.2 and 1.3.
bool OffersWantedOnly(const SecurityFunctionTableA& sspi, CredHandle& handle) {
  SecPkgCred_SupportedProtocols offered{};
  return sspi.QueryCredentialsAttributesA(&handle, SECPKG_ATTR_SUPPORTED_PROTOCOLS, &offered) ==
             SEC_E_OK &&
         offered.grbitProtocol != 0 && (offered.grbitProtocol & ~kSchannelProtocols) == 0;
}

// The newer record where the system knows it and keeps to what it names (wine's takes the
// record but not the protocols left out); else the older one with TLS 1.2 and 1.3, and TLS 1.2
// alone where the system refuses the pair.
SECURITY_STATUS Acquire(const SecurityFunctionTableA& sspi, CredHandle& handle) {
  SECURITY_STATUS status = AcquireNewer(sspi, handle);
  if (status == SEC_E_OK && !OffersWantedOnly(sspi, handle)) {
    sspi.FreeCredentialsHandle(&handle);
    status = SEC_E_UNSUPPORTED_FUNCTION;
  }
  if (status != SEC_E_OK) status = AcquireOlder(sspi, kSchannelProtocols, handle);
  if (status != SEC_E_OK) status = AcquireOlder(sspi, SP_PROT_TLS1_2_CLIENT, handle);
  return status;
}

PSecurityFunctionTableA LoadSspi(HMODULE library) {
  using TInit = PSecurityFunctionTableA(WINAPI*)();
  const auto init = reinterpret_cast<TInit>(
      reinterpret_cast<void*>(GetProcAddress(library, "InitSecurityInterfaceA")));
  return init != nullptr ? init() : nullptr;
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
  library_ = LoadLibraryA("secur32.dll");
  sspi_ = library_ != nullptr ? LoadSspi(library_) : nullptr;
  const SECURITY_STATUS status =
      sspi_ != nullptr ? Acquire(*sspi_, handle_) : SEC_E_SECPKG_NOT_FOUND;
  if (status == SEC_E_OK) return;
  if (authorities_ != nullptr) CertCloseStore(authorities_, 0);
  if (library_ != nullptr) FreeLibrary(library_);
  throw EIdSSLConnectError("SSL handshake failed: " + SecurityStatusText(status));
}

TSchannelCredentials::~TSchannelCredentials() {
  sspi_->FreeCredentialsHandle(&handle_);
  FreeLibrary(library_);
  if (authorities_ != nullptr) CertCloseStore(authorities_, 0);
}

}  // namespace pelmorix
