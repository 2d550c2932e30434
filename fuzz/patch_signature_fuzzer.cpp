// Reads the input as a DER signature and as a digests file.
#include <string>

#include "base/exception.h"
#include "fuzz/fuzz_support.h"
#include "launcher/patch_digests.h"
#include "platform/signature/der_signature.h"

namespace {

// The one DER form of r and s: the reader must take nothing else.
std::string DerInteger(std::string value) {
  value.erase(0, std::min(value.find_first_not_of('\0'), value.size()));
  if (static_cast<uint8_t>(value[0]) & 0x80) value.insert(0, 1, '\0');
  return std::string("\x02", 1) + static_cast<char>(value.size()) + value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pelmorix;
  const std::string text = InputText(data, size);
  std::string raw;
  if (DerSignatureToRaw(text, raw)) {
    FUZZ_CHECK(raw.size() == 64);
    const std::string body = DerInteger(raw.substr(0, 32)) + DerInteger(raw.substr(32));
    FUZZ_CHECK(text == std::string("\x30", 1) + static_cast<char>(body.size()) + body);
  }
  try {
    const TPatchDigests digests = ParsePatchDigests(text);
    for (const auto& [name, digest] : digests) FUZZ_CHECK(digest.size() == 32);
    FUZZ_CHECK(ParsePatchDigests(FormatPatchDigests(digests)) == digests);
  } catch (const Exception&) {
    // a line that is not a digest and a name, or one name with two digests
  }
  return 0;
}
