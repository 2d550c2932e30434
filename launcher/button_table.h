#pragma once

#include <array>
#include <string>

namespace pelmorix {

// One row of the server's button table: ten short texts.
struct ButtonRecord {
  static constexpr int kFieldCount = 10;
  // A field keeps at most this many characters.
  static constexpr size_t kFieldLength = 255;

  std::string Key, Left, Top, Action, Size, Caption, Extra, Mode, Spare8, Spare9;

  // The field of index 0 (Key) to 9 (Spare9).
  std::string& Field(int index);
  const std::string& Field(int index) const;
};

// Rows 0 to 12. Row 0 sizes and titles the window, rows 1-5, 7, 9-11 feed the button slots of
// the same number, row 6 holds two notices, row 8 the buttons' font colour and size.
struct TButtonTable {
  static constexpr int kRowCount = 13;
  std::array<ButtonRecord, kRowCount> Rows;

  ButtonRecord& operator[](int row) { return Rows.at(static_cast<size_t>(row)); }
  const ButtonRecord& operator[](int row) const { return Rows.at(static_cast<size_t>(row)); }
};

// Fills a row from a row text: the pieces between "|" go into the fields in index order; fields
// after the last piece keep their values. A row outside 0 to 12 and pieces beyond the tenth have
// no place in the table and are ignored.
void SplitIntoRecord(TButtonTable& table, std::string_view text, int row);

}  // namespace pelmorix
