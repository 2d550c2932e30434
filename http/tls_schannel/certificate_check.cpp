#include "http/tls_schannel/certificate_check.h"

#include <cstdio>
#include <memory>

#include "http/ssl_exceptions.h"

namespace pelmorix {
namespace {

// SECURITY_FLAG_IGNORE_REVOCATION, which the headers define only with the internet calls.
constexpr DWORD kIgnoreRevocation = 0x00000080;

struct TChainFree {
  void operator()(PCCERT_CHAIN_CONTEXT chain) const { CertFreeCertificateChain(chain); }
};
using TChain = std::unique_ptr<const CERT_CHAIN_CONTEXT, TChainFree>;

struct TStoreClose {
  void operator()(HCERTSTORE store) const { CertCloseStore(store, 0); }
};
using TStore = std::unique_ptr<void, TStoreClose>;

[[noreturn]] void Refuse(TIdCertificateProblem problem, const std::string& detail = "") {
  throw EIdSSLCertificateError(CertificateProblemText(problem, detail));
}

// The certificates the chain may be built from beyond the system's: those the server sent and
// the authorities.
TStore CandidateStore(PCCERT_CONTEXT certificate, HCERTSTORE authorities) {
  TStore store(CertOpenStore(CERT_STORE_PROV_COLLECTION, 0, 0, 0, nullptr));
  if (store == nullptr) Refuse(TIdCertificateProblem::Other, "out of memory");
  CertAddStoreToCollection(store.get(), certificate->hCertStore, 0, 0);
  if (authorities != nullptr) CertAddStoreToCollection(store.get(), authorities, 0, 0);
  return store;
}

// The chain with the revocation status of every certificate but the root, looked up within the
// bound: a launcher behind a firewall must neither fail nor wait on the lookups for long.
TChain BuildChain(PCCERT_CONTEXT certificate, HCERTSTORE authorities, int lookupTimeout) {
  const TStore candidates = CandidateStore(certificate, authorities);
  char serverAuth[] = szOID_PKIX_KP_SERVER_AUTH;
  char* usages[] = {serverAuth};
  CERT_CHAIN_PARA parameters{};
  parameters.cbSize = sizeof parameters;
  parameters.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
  parameters.RequestedUsage.Usage.cUsageIdentifier = 1;
  parameters.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
  parameters.dwUrlRetrievalTimeout = static_cast<DWORD>(lookupTimeout > 0 ? lookupTimeout : 0);
  const DWORD flags =
      CERT_CHAIN_REVOCATION_CHECK_CHAIN_EXCLUDE_ROOT | CERT_CHAIN_REVOCATION_ACCUMULATIVE_TIMEOUT;
  PCCERT_CHAIN_CONTEXT chain = nullptr;
  if (!CertGetCertificateChain(nullptr, certificate, nullptr, candidates.get(), &parameters, flags,
                               nullptr, &chain)) {
    Refuse(TIdCertificateProblem::Other,
           SecurityStatusText(static_cast<SECURITY_STATUS>(HRESULT_FROM_WIN32(GetLastError()))));
  }
  return TChain(chain);
}

// With a CA file the chain must end in one of its certificates, whatever the system trusts.
bool EndsInAuthority(PCCERT_CHAIN_CONTEXT chain, HCERTSTORE authorities) {
  const CERT_SIMPLE_CHAIN* simple = chain->rgpChain[0];
  const PCCERT_CONTEXT root = simple->rgpElement[simple->cElement - 1]->pCertContext;
  PCCERT_CONTEXT found = CertFindCertificateInStore(
      authorities, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0, CERT_FIND_EXISTING, root, nullptr);
  if (found == nullptr) return false;
  CertFreeCertificateContext(found);
  return true;
}

// A chain outside its dates: expired, or not yet valid, as its first such certificate says.
TIdCertificateProblem TimeProblem(PCCERT_CHAIN_CONTEXT chain) {
  const CERT_SIMPLE_CHAIN* simple = chain->rgpChain[0];
  for (DWORD i = 0; i < simple->cElement; ++i) {
    const LONG validity =
        CertVerifyTimeValidity(nullptr, simple->rgpElement[i]->pCertContext->pCertInfo);
    if (validity < 0) return TIdCertificateProblem::NotYetValid;
    if (validity > 0) return TIdCertificateProblem::Expired;
  }
  return TIdCertificateProblem::Expired;
}

// The chain's own verdict: not every system's policy refuses a chain that ends short of a root.
// A revocation status that could not be learnt (no source named, none reachable) is no refusal.
void CheckTrustStatus(PCCERT_CHAIN_CONTEXT chain, bool ownAuthority) {
  DWORD errors = chain->TrustStatus.dwErrorStatus;
  if (ownAuthority) errors &= ~static_cast<DWORD>(CERT_TRUST_IS_UNTRUSTED_ROOT);
  if ((errors & (CERT_TRUST_IS_PARTIAL_CHAIN | CERT_TRUST_IS_UNTRUSTED_ROOT |
                 CERT_TRUST_IS_NOT_SIGNATURE_VALID | CERT_TRUST_IS_CYCLIC)) != 0) {
    Refuse(TIdCertificateProblem::Untrusted);
  }
  if ((errors & CERT_TRUST_IS_REVOKED) != 0) Refuse(TIdCertificateProblem::Revoked);
  if ((errors & CERT_TRUST_IS_NOT_TIME_VALID) != 0) Refuse(TimeProblem(chain));
}

std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         wide.data(), static_cast<int>(wide.size()));
  wide.resize(length > 0 ? length : 0);
  return wide;
}

// The system's SSL policy: trust, dates and, for a name, the name. Addresses are checked by
// CertificateNamesAddress, since not every system's policy matches address entries.
void CheckPolicy(PCCERT_CHAIN_CONTEXT chain, bool ownAuthority, const TIdTlsPeer& peer) {
  std::wstring name = Wide(peer.Name);
  SSL_EXTRA_CERT_CHAIN_POLICY_PARA extra{};
  extra.cbSize = sizeof extra;
  extra.dwAuthType = AUTHTYPE_SERVER;
  extra.pwszServerName = peer.IsAddress ? nullptr : name.data();
  // The chain's revocation status was judged already, and a status left unknown is no refusal;
  // a policy that stopped at it would not reach the name.
  extra.fdwChecks = kIgnoreRevocation;
  CERT_CHAIN_POLICY_PARA policy{};
  policy.cbSize = sizeof policy;
  // The CA file's authority is not in the system's store; that it ends the chain was checked.
  policy.dwFlags = CERT_CHAIN_POLICY_IGNORE_ALL_REV_UNKNOWN_FLAGS |
                   (ownAuthority ? CERT_CHAIN_POLICY_ALLOW_UNKNOWN_CA_FLAG : 0);
  policy.pvExtraPolicyPara = &extra;
  CERT_CHAIN_POLICY_STATUS status{};
  status.cbSize = sizeof status;
  if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status)) {
    Refuse(TIdCertificateProblem::Other,
           SecurityStatusText(static_cast<SECURITY_STATUS>(HRESULT_FROM_WIN32(GetLastError()))));
  }
  switch (static_cast<HRESULT>(status.dwError)) {
    case S_OK:
      return;
    case CRYPT_E_REVOKED:
    case CERT_E_REVOKED:
      Refuse(TIdCertificateProblem::Revoked);
    case CERT_E_UNTRUSTEDROOT:
    case CERT_E_CHAINING:
    case CERT_E_UNTRUSTEDCA:
    case TRUST_E_CERT_SIGNATURE:
      Refuse(TIdCertificateProblem::Untrusted);
    case CERT_E_EXPIRED:
      Refuse(TimeProblem(chain));
    case CERT_E_CN_NO_MATCH:
      Refuse(TIdCertificateProblem::NameMismatch);
    default:
      Refuse(TIdCertificateProblem::Other,
             SecurityStatusText(static_cast<SECURITY_STATUS>(status.dwError)));
  }
}

// True when the certificate lists the IPv4 address (dotted text) among its alternative names.
bool CertificateNamesAddress(PCCERT_CONTEXT certificate, const std::string& address) {
  unsigned parts[4];
  char rest = 0;
  if (std::sscanf(address.c_str(), "%u.%u.%u.%u%c", &parts[0], &parts[1], &parts[2], &parts[3],
                  &rest) != 4) {
    return false;
  }
  const CERT_INFO* info = certificate->pCertInfo;
  const CERT_EXTENSION* extension =
      CertFindExtension(szOID_SUBJECT_ALT_NAME2, info->cExtension, info->rgExtension);
  if (extension == nullptr) return false;
  CERT_ALT_NAME_INFO* names = nullptr;
  DWORD length = 0;
  if (!CryptDecodeObjectEx(X509_ASN_ENCODING, X509_ALTERNATE_NAME, extension->Value.pbData,
                           extension->Value.cbData, CRYPT_DECODE_ALLOC_FLAG, nullptr, &names,
                           &length)) {
    return false;
  }
  bool named = false;
  for (DWORD i = 0; i < names->cAltEntry && !named; ++i) {
    const CERT_ALT_NAME_ENTRY& entry = names->rgAltEntry[i];
    if (entry.dwAltNameChoice != CERT_ALT_NAME_IP_ADDRESS || entry.IPAddress.cbData != 4) continue;
    named = true;
    for (int b = 0; b < 4; ++b) named = named && entry.IPAddress.pbData[b] == parts[b];
  }
  LocalFree(names);
  return named;
}

}  // namespace

void CheckServerCertificate(PCCERT_CONTEXT certificate, HCERTSTORE authorities,
                            const TIdTlsPeer& peer, int lookupTimeoutMilliseconds) {
  const TChain chain = BuildChain(certificate, authorities, lookupTimeoutMilliseconds);
  const bool ownAuthority = authorities != nullptr;
  if (ownAuthority && !EndsInAuthority(chain.get(), authorities)) {
    Refuse(TIdCertificateProblem::Untrusted);
  }
  CheckTrustStatus(chain.get(), ownAuthority);
  CheckPolicy(chain.get(), ownAuthority, peer);
  if (peer.IsAddress && !CertificateNamesAddress(certificate, peer.Name)) {
    Refuse(TIdCertificateProblem::NameMismatch);
  }
}

}  // namespace pelmorix
