#include "platform/signature/signature_check.h"

namespace pelmorix {

std::string Sha256(const std::string& data) {
  TSha256 hash;
  hash.Update(data.data(), data.size());
  return hash.Final();
}

}  // namespace pelmorix
