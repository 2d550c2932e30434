#include "launcher/web_address.h"

#include "base/text.h"

namespace pelmorix {

bool IsWebAddress(const std::string& text) {
  const std::string start = LowerCase(text.substr(0, 8));
  return start.rfind("http://", 0) == 0 || start == "https://";
}

}  // namespace pelmorix
