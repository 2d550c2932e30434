#include <fstream>
#include <iterator>
#include <string>

#include "http/tls_schannel/schannel_credentials.h"

namespace pelmorix {
namespace {

constexpr const char kBegin[] = "-----BEGIN CERTIFICATE-----";
constexpr const char kEnd[] = "-----END CERTIFICATE-----";

// Adds the certificate of one PEM block (its lines of base64 between the markers).
bool AddPemBlock(HCERTSTORE store, const std::string& block) {
  DWORD length = 0;
  if (!CryptStringToBinaryA(block.data(), static_cast<DWORD>(block.size()),
                            CRYPT_STRING_BASE64HEADER, nullptr, &length, nullptr, nullptr)) {
    return false;
  }
  std::string der(length, '\0');
  if (!CryptStringToBinaryA(block.data(), static_cast<DWORD>(block.size()),
                            CRYPT_STRING_BASE64HEADER, reinterpret_cast<BYTE*>(der.data()), &length,
                            nullptr, nullptr)) {
    return false;
  }
  return CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING,
                                          reinterpret_cast<const BYTE*>(der.data()), length,
                                          CERT_STORE_ADD_ALWAYS, nullptr) != FALSE;
}

}  // namespace

// Reads the file's "BEGIN CERTIFICATE" blocks; text around them (comments, other blocks such as
// keys) is passed over. A block that does not decode makes the whole file unusable.
HCERTSTORE LoadPemCertificates(const std::string& fileName) {
  std::ifstream file(fileName, std::ios::binary);
  if (!file) return nullptr;
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr);
  if (store == nullptr) return nullptr;
  int count = 0;
  for (size_t begin = text.find(kBegin); begin != std::string::npos;
       begin = text.find(kBegin, begin + 1)) {
    const size_t end = text.find(kEnd, begin);
    if (end == std::string::npos ||
        !AddPemBlock(store, text.substr(begin, end + sizeof kEnd - 1 - begin))) {
      count = 0;
      break;
    }
    ++count;
  }
  if (count > 0) return store;
  CertCloseStore(store, 0);
  return nullptr;
}

}  // namespace pelmorix
