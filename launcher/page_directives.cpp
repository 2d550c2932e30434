#include "launcher/page_directives.h"

#include "base/convert.h"

namespace pelmorix {
namespace {

void ReadInstallationId(std::string_view markup, int32_t& installationId) {
  const size_t at = markup.find("id=");
  if (at == std::string_view::npos) return;
  const size_t start = at + 3;
  size_t end = start;
  while (end < markup.size() && markup[end] >= '0' && markup[end] <= '9') ++end;
  installationId = StrToInt(std::string(markup.substr(start, end - start)));
}

int BlockRowNumber(std::string_view block) {
  std::string_view number = block.substr(0, 2);
  if (number.size() == 2 && number[1] == '|') number = number.substr(0, 1);
  return StrToInt(std::string(number));
}

}  // namespace

void ReadPageDirectives(std::string_view markup, int32_t& installationId, TButtonTable& table) {
  ReadInstallationId(markup, installationId);
  for (int row = 1; row < TButtonTable::kRowCount; ++row) table[row].Mode.assign(1, '0');

  // Each step consumes the markup up to and including the first "]" after the scan offset;
  // a "]" before the "[" makes the block empty, which fails like the original scan does.
  size_t offset = 0;
  while (true) {
    const size_t open = markup.find('[', offset);
    if (open == std::string_view::npos) break;
    const size_t close = markup.find(']', offset);
    std::string_view block;
    if (close != std::string_view::npos && close > open) {
      block = markup.substr(open + 1, close - open - 1);
    }
    const int row = BlockRowNumber(block);
    SplitIntoRecord(table, block, row);
    offset = close + 1;
  }
}

}  // namespace pelmorix
