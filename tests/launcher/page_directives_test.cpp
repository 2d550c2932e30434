#include "launcher/page_directives.h"

#include <gtest/gtest.h>

#include "base/convert.h"
#include "launcher/button_table.h"

namespace pelmorix {
namespace {

TEST(SplitIntoRecord, FillsFieldsInOrderAndKeepsTheRest) {
  TButtonTable table;
  table[3].Mode = "1";
  table[3].Spare9 = "old";
  SplitIntoRecord(table, "3|20|160|4", 3);
  EXPECT_EQ(table[3].Key, "3");
  EXPECT_EQ(table[3].Left, "20");
  EXPECT_EQ(table[3].Top, "160");
  EXPECT_EQ(table[3].Action, "4");
  EXPECT_EQ(table[3].Mode, "1");
  EXPECT_EQ(table[3].Spare9, "old");

  SplitIntoRecord(table, "", 5);  // an empty reply empties the key alone
  EXPECT_EQ(table[5].Key, "");
  SplitIntoRecord(table, "x|y\r\n", 5);  // no trimming: the line break stays
  EXPECT_EQ(table[5].Left, "y\r\n");
}

TEST(SplitIntoRecord, CutsLongFieldsAndIgnoresWhatHasNoPlace) {
  TButtonTable table;
  SplitIntoRecord(table, std::string(300, 'a') + "|0|1|2|3|4|5|6|7|ninth|tenth|eleventh", 2);
  EXPECT_EQ(table[2].Key, std::string(255, 'a'));
  EXPECT_EQ(table[2].Spare8, "7");
  EXPECT_EQ(table[2].Spare9, "ninth");
  SplitIntoRecord(table, "13|1|2", 13);  // rows beyond 12 do not exist
  SplitIntoRecord(table, "-1|1|2", -1);
  for (int row = 0; row < TButtonTable::kRowCount; ++row) {
    if (row != 2) {
      EXPECT_EQ(table[row].Left, "") << row;
    }
  }
}

TEST(PageDirectives, ReadsIdAndBlocksAndResetsModes) {
  TButtonTable table;
  for (int row = 0; row < TButtonTable::kRowCount; ++row) table[row].Mode = "1";
  int32_t id = 101;
  ReadPageDirectives("<p id=205x>[3|20|150|3|120x40|Spielen|x|1] [12|9] [123|7]", id, table);
  EXPECT_EQ(id, 205);
  EXPECT_EQ(table[0].Mode, "1");  // row 0 keeps its mode
  EXPECT_EQ(table[3].Size, "120x40");
  EXPECT_EQ(table[3].Caption, "Spielen");
  EXPECT_EQ(table[3].Mode, "1");
  EXPECT_EQ(table[4].Mode, "0");
  EXPECT_EQ(table[12].Key, "123");  // the first two characters name the row
  EXPECT_EQ(table[12].Left, "7");   // the later block replaced the earlier one's fields
}

TEST(PageDirectives, FailsAtTheFirstBadDirectiveKeepingEarlierBlocks) {
  TButtonTable table;
  int32_t id = 101;
  EXPECT_THROW(ReadPageDirectives("<a href='x?id=abc'>", id, table), EConvertError);
  EXPECT_EQ(id, 101);

  for (const char* bad : {"[1|a] [] [2|b]", "[1|a] [x|2] [2|b]", "[1|a] ] [2|b]", "[1|a] [2|b"}) {
    TButtonTable t;
    EXPECT_THROW(ReadPageDirectives(bad, id, t), EConvertError) << bad;
    EXPECT_EQ(t[1].Left, "a") << bad;
    EXPECT_EQ(t[2].Left, "") << bad;
  }
  TButtonTable t;
  ReadPageDirectives("[99|a] [-5|b] [4|c]", id, t);  // no such rows: ignored
  EXPECT_EQ(t[4].Left, "c");
}

TEST(PageDirectives, ScansLargePagesInOnePass) {
  std::string page;
  page.reserve(10'000'000);
  while (page.size() < 10'000'000 - 200) page += "<b>[5|10|20|3||Go|x|1]</b> filler text ....";
  TButtonTable table;
  int32_t id = 0;
  // 10 MB with about 200 000 blocks: a scan that copies the rest of the page per block would
  // run for hours and meet the test time-out.
  ReadPageDirectives(page, id, table);
  EXPECT_EQ(table[5].Caption, "Go");
}

}  // namespace
}  // namespace pelmorix
