#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

#include <cstring>
#include <memory>

#include "platform/signature/der_signature.h"
#include "platform/signature/signature_check.h"

namespace pelmorix {
namespace {

struct TFreeKey {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
using TKey = std::unique_ptr<EVP_PKEY, TFreeKey>;

TKey ReadP256Key(const std::string& pem) {
  BIO* bio = BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size()));
  if (bio == nullptr) return nullptr;
  TKey key(PEM_read_bio_PUBKEY(bio, nullptr, nullptr, nullptr));
  BIO_free(bio);
  char group[32] = {};
  if (key == nullptr || !EVP_PKEY_is_a(key.get(), "EC") ||
      !EVP_PKEY_get_group_name(key.get(), group, sizeof group, nullptr) ||
      std::strcmp(group, "prime256v1") != 0) {
    return nullptr;
  }
  return key;
}

}  // namespace

bool VerifyP256Signature(const std::string& publicKeyPem, const std::string& message,
                         const std::string& signature) {
  // OpenSSL reads DER on its own; the shared reader first, so both systems refuse the same
  // malformed signatures.
  std::string raw;
  if (!DerSignatureToRaw(signature, raw)) return false;
  const TKey key = ReadP256Key(publicKeyPem);
  if (key == nullptr) return false;
  EVP_MD_CTX* context = EVP_MD_CTX_new();
  if (context == nullptr) return false;
  const bool valid =
      EVP_DigestVerifyInit(context, nullptr, EVP_sha256(), nullptr, key.get()) == 1 &&
      EVP_DigestVerify(context, reinterpret_cast<const unsigned char*>(signature.data()),
                       signature.size(), reinterpret_cast<const unsigned char*>(message.data()),
                       message.size()) == 1;
  EVP_MD_CTX_free(context);
  return valid;
}

}  // namespace pelmorix
