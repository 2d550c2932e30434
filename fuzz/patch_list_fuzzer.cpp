// Reads the input as a patch list reply and as a patch message.
#include <string>

#include "base/exception.h"
#include "fuzz/fuzz_support.h"
#include "launcher/patch_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pelmorix;
  const std::string text = InputText(data, size);
  try {
    const PatchList list = ParsePatchList(text);
    FUZZ_CHECK(list.Files.size() <= static_cast<size_t>(PatchList::kMaxFiles));
    for (const PatchFile& file : list.Files) {
      FUZZ_CHECK(file.DownloadPath.rfind("temp\\", 0) == 0);
      FUZZ_CHECK(file.DownloadPath.find("..\\") == std::string::npos);
      FUZZ_CHECK(file.DownloadPath.find("../") == std::string::npos);
    }
  } catch (const Exception&) {
    // a count that is not a number, more files than a run can hold, or a name leaving temp
  }
  const std::string decoded = DecodeEscapes(text);
  FUZZ_CHECK(decoded.size() <= text.size());
  FUZZ_CHECK(decoded.find("#10") == std::string::npos);
  FUZZ_CHECK(decoded.find("#13") == std::string::npos);
  std::string rest = text;
  const std::string field = TakeField(rest);
  FUZZ_CHECK(rest == text || field.size() + 1 + rest.size() == text.size());
  return 0;
}
