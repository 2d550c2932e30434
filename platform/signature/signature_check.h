#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace pelmorix {

// Whether signature, an ECDSA signature in the DER form OpenSSL writes, was made over the
// SHA-256 of message with the private half of publicKeyPem (a P-256 key as a "PUBLIC KEY" PEM
// text). A key that is not such a key, or a signature whose DER is not strictly well formed,
// verifies nothing.
bool VerifyP256Signature(const std::string& publicKeyPem, const std::string& message,
                         const std::string& signature);

// SHA-256 fed piece by piece, for files too large to hold in memory.
class TSha256 {
 public:
  TSha256();
  ~TSha256();
  TSha256(const TSha256&) = delete;
  TSha256& operator=(const TSha256&) = delete;

  void Update(const void* data, size_t size);
  // The 32 bytes of the digest; the object is spent afterwards.
  std::string Final();

 private:
  struct TState;
  std::unique_ptr<TState> state_;
};

// The 32 bytes of the SHA-256 of data.
std::string Sha256(const std::string& data);

}  // namespace pelmorix
