#include <openssl/evp.h>

#include <new>

#include "platform/signature/signature_check.h"

namespace pelmorix {

struct TSha256::TState {
  EVP_MD_CTX* Context = EVP_MD_CTX_new();
  ~TState() { EVP_MD_CTX_free(Context); }
};

TSha256::TSha256() : state_(std::make_unique<TState>()) {
  if (state_->Context == nullptr ||
      EVP_DigestInit_ex(state_->Context, EVP_sha256(), nullptr) != 1) {
    throw std::bad_alloc();
  }
}

TSha256::~TSha256() = default;

void TSha256::Update(const void* data, size_t size) {
  EVP_DigestUpdate(state_->Context, data, size);
}

std::string TSha256::Final() {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_DigestFinal_ex(state_->Context, digest, &size);
  return std::string(reinterpret_cast<const char*>(digest), size);
}

}  // namespace pelmorix
