#pragma once

#include <string>

namespace pelmorix {

// Base64 with the standard alphabet and "=" fill, on one line: 4 characters for every 3 bytes.
class TIdEncoderMIME {
 public:
  static std::string Encode(const std::string& data);
};

}  // namespace pelmorix
