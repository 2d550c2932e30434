#include "platform/signature/p256_public_key.h"

namespace pelmorix {

bool P256PointFromPublicKeyInfo(const std::string& der, std::string& point) {
  // SEQUENCE { SEQUENCE { id-ecPublicKey, prime256v1 }, BIT STRING { 0 unused bits, 0x04 } }:
  // for this one curve and point form every byte before X and Y is fixed.
  static const std::string kPrefix(
      "\x30\x59\x30\x13\x06\x07\x2a\x86\x48\xce\x3d\x02\x01\x06\x08\x2a\x86\x48\xce\x3d\x03\x01"
      "\x07\x03\x42\x00\x04",
      27);
  if (der.size() != kPrefix.size() + 64 || der.compare(0, kPrefix.size(), kPrefix) != 0) {
    return false;
  }
  point = der.substr(kPrefix.size());
  return true;
}

}  // namespace pelmorix
