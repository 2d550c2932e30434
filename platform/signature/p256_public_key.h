#pragma once

#include <string>

namespace pelmorix {

// Reads a P-256 public key in its DER SubjectPublicKeyInfo form (the body of a "PUBLIC KEY"
// PEM text) into point: X and Y, 32 big-endian bytes each. Only the uncompressed point of the
// named curve P-256 is taken; anything else is refused (false).
bool P256PointFromPublicKeyInfo(const std::string& der, std::string& point);

}  // namespace pelmorix
