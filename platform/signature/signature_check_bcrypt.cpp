#include <cstring>
#include <vector>

#include "platform/signature/der_signature.h"
#include "platform/signature/p256_public_key.h"
#include "platform/signature/signature_check.h"

// After the interface, so that the system header's macros cannot rewrite its declarations.
#include <windows.h>
// bcrypt.h and wincrypt.h need windows.h first.
#include <bcrypt.h>
#include <wincrypt.h>

namespace pelmorix {
namespace {

// The DER body of a PEM text (base64 between "-----BEGIN ...-----" and "-----END ...-----");
// empty when there is none. What the body holds is P256PointFromPublicKeyInfo's to judge.
std::string PemBody(const std::string& pem) {
  DWORD size = 0;
  if (!CryptStringToBinaryA(pem.data(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                            nullptr, &size, nullptr, nullptr)) {
    return std::string();
  }
  std::string der(size, '\0');
  if (!CryptStringToBinaryA(pem.data(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
                            reinterpret_cast<BYTE*>(der.data()), &size, nullptr, nullptr)) {
    return std::string();
  }
  der.resize(size);
  return der;
}

bool VerifyDigest(const std::string& point, std::string digest, std::string raw) {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (!BCRYPT_SUCCESS(
          BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0))) {
    return false;
  }
  std::vector<unsigned char> blob(sizeof(BCRYPT_ECCKEY_BLOB) + point.size());
  BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
  memcpy(blob.data(), &header, sizeof header);
  memcpy(blob.data() + sizeof header, point.data(), point.size());
  BCRYPT_KEY_HANDLE key = nullptr;
  bool valid = false;
  if (BCRYPT_SUCCESS(BCryptImportKeyPair(algorithm, nullptr, BCRYPT_ECCPUBLIC_BLOB, &key,
                                         blob.data(), static_cast<ULONG>(blob.size()), 0))) {
    valid = BCRYPT_SUCCESS(BCryptVerifySignature(
        key, nullptr, reinterpret_cast<PUCHAR>(digest.data()), static_cast<ULONG>(digest.size()),
        reinterpret_cast<PUCHAR>(raw.data()), static_cast<ULONG>(raw.size()), 0));
    BCryptDestroyKey(key);
  }
  BCryptCloseAlgorithmProvider(algorithm, 0);
  return valid;
}

}  // namespace

bool VerifyP256Signature(const std::string& publicKeyPem, const std::string& message,
                         const std::string& signature) {
  // CNG verifies r and s side by side, not the DER sequence OpenSSL writes.
  std::string raw;
  std::string point;
  if (!DerSignatureToRaw(signature, raw) ||
      !P256PointFromPublicKeyInfo(PemBody(publicKeyPem), point)) {
    return false;
  }
  return VerifyDigest(point, Sha256(message), raw);
}

}  // namespace pelmorix
