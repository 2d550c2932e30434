#include "launcher/button_table.h"

namespace pelmorix {

std::string& ButtonRecord::Field(int index) {
  return const_cast<std::string&>(static_cast<const ButtonRecord*>(this)->Field(index));
}

const std::string& ButtonRecord::Field(int index) const {
  switch (index) {
    case 0:
      return Key;
    case 1:
      return Left;
    case 2:
      return Top;
    case 3:
      return Action;
    case 4:
      return Size;
    case 5:
      return Caption;
    case 6:
      return Extra;
    case 7:
      return Mode;
    case 8:
      return Spare8;
    default:
      return Spare9;
  }
}

void SplitIntoRecord(TButtonTable& table, std::string_view text, int row) {
  if (row < 0 || row >= TButtonTable::kRowCount) return;
  ButtonRecord& record = table[row];
  for (int i = 0; i < ButtonRecord::kFieldCount; ++i) {
    const size_t bar = text.find('|');
    const std::string_view piece = text.substr(0, bar);
    record.Field(i) = std::string(piece.substr(0, ButtonRecord::kFieldLength));
    if (bar == std::string_view::npos) return;
    text.remove_prefix(bar + 1);
  }
}

}  // namespace pelmorix
