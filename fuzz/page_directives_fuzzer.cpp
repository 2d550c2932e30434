// Reads the input as a start page's markup into a button table, and as one row reply.
#include <string>

#include "base/convert.h"
#include "fuzz/fuzz_support.h"
#include "launcher/button_table.h"
#include "launcher/page_directives.h"

namespace pelmorix {
namespace {

void CheckTable(const TButtonTable& table) {
  for (int row = 0; row < TButtonTable::kRowCount; ++row) {
    for (int field = 0; field < ButtonRecord::kFieldCount; ++field) {
      FUZZ_CHECK(table[row].Field(field).size() <= ButtonRecord::kFieldLength);
    }
  }
}

}  // namespace
}  // namespace pelmorix

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pelmorix;
  const std::string markup = InputText(data, size);
  TButtonTable table;
  for (int row = 0; row < TButtonTable::kRowCount; ++row) table[row].Mode = "1";
  int32_t installationId = -1;
  try {
    ReadPageDirectives(markup, installationId, table);
  } catch (const EConvertError&) {
    // the blocks before the faulty one stay applied
  }
  CheckTable(table);
  if (markup.find('[') == std::string::npos && markup.find("id=") == std::string::npos) {
    for (int row = 1; row < TButtonTable::kRowCount; ++row) FUZZ_CHECK(table[row].Mode == "0");
  }
  if (markup.find("id=") == std::string::npos) FUZZ_CHECK(installationId == -1);

  SplitIntoRecord(table, markup, size > 0 ? data[0] % 16 : 0);
  CheckTable(table);
  return 0;
}
