#pragma once

#include <openssl/evp.h>

#include <memory>
#include <string>

namespace pelmorix {

constexpr char kPrivateKeyFile[] = "patch-key-private.pem";
constexpr char kPublicKeyFile[] = "patch-key-public.pem";

struct TFreeKey {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
using TKey = std::unique_ptr<EVP_PKEY, TFreeKey>;

// Makes a P-256 key pair and writes kPrivateKeyFile (readable by its owner only from the moment
// it exists) and kPublicKeyFile into folder. Refuses, writing nothing, when either file exists.
void WriteNewKeyPair(const std::string& folder);

// The P-256 private key of a PEM file; anything else raises an Exception.
TKey ReadPrivateKey(const std::string& path);

}  // namespace pelmorix
