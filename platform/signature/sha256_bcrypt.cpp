#include <new>

#include "platform/signature/signature_check.h"

// After the interface, so that the system header's macros cannot rewrite its declarations.
#include <windows.h>
// bcrypt.h needs windows.h first.
#include <bcrypt.h>

namespace pelmorix {

struct TSha256::TState {
  BCRYPT_ALG_HANDLE Algorithm = nullptr;
  BCRYPT_HASH_HANDLE Hash = nullptr;
  ~TState() {
    if (Hash != nullptr) BCryptDestroyHash(Hash);
    if (Algorithm != nullptr) BCryptCloseAlgorithmProvider(Algorithm, 0);
  }
};

TSha256::TSha256() : state_(std::make_unique<TState>()) {
  // With no object buffer given, CNG keeps the hash object itself (Windows 7 and later).
  if (!BCRYPT_SUCCESS(
          BCryptOpenAlgorithmProvider(&state_->Algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)) ||
      !BCRYPT_SUCCESS(
          BCryptCreateHash(state_->Algorithm, &state_->Hash, nullptr, 0, nullptr, 0, 0))) {
    throw std::bad_alloc();
  }
}

TSha256::~TSha256() = default;

void TSha256::Update(const void* data, size_t size) {
  // CNG takes at most a ULONG at a time.
  const auto* bytes = static_cast<const unsigned char*>(data);
  while (size > 0) {
    const ULONG piece = size > 0x40000000 ? 0x40000000 : static_cast<ULONG>(size);
    BCryptHashData(state_->Hash, const_cast<PUCHAR>(bytes), piece, 0);
    bytes += piece;
    size -= piece;
  }
}

std::string TSha256::Final() {
  std::string digest(32, '\0');
  BCryptFinishHash(state_->Hash, reinterpret_cast<PUCHAR>(digest.data()), 32, 0);
  return digest;
}

}  // namespace pelmorix
