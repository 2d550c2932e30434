#pragma once

#include <string>

namespace pelmorix {

// Reads an ECDSA-Sig-Value (SEQUENCE of the INTEGERs r and s) in strict DER, as
// `openssl dgst -sign` writes it for a P-256 key, into raw: r and s as 32 big-endian bytes
// each, the form CNG verifies. Refuses (false) long-form or wrong lengths, bytes after the
// sequence, other tags, negative, zero or non-minimal integers and integers above 32 bytes.
bool DerSignatureToRaw(const std::string& der, std::string& raw);

}  // namespace pelmorix
