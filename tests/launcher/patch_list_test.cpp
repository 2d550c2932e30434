#include "launcher/patch_list.h"

#include <gtest/gtest.h>

#include "base/codepage.h"
#include "base/convert.h"
#include "launcher/color_code.h"

namespace pelmorix {
namespace {

TEST(PatchList, TakesFieldsEndedByBars) {
  std::string text = "a||b";
  EXPECT_EQ(TakeField(text), "a");
  EXPECT_EQ(TakeField(text), "");
  EXPECT_EQ(text, "b");
  EXPECT_EQ(TakeField(text), "");  // no bar left: empty, text unchanged
  EXPECT_EQ(text, "b");
}

TEST(PatchList, DecodesLineBreakEscapesLineFeedsFirst) {
  EXPECT_EQ(DecodeEscapes("Neu|Satz eins.#13#10Satz zwei."), "Neu|Satz eins.\r\nSatz zwei.");
  EXPECT_EQ(DecodeEscapes("#1#10#13x"), "#1\n\rx");
  EXPECT_EQ(DecodeEscapes("#1#103"), "#1\n3");
}

TEST(PatchList, ReadsFilesAndLeavesMissingFieldsEmpty) {
  const PatchList list =
      ParsePatchList("Karo|1.5|||2|http://h/a.bin|a.bin|data\\a.bin|http://h/b|b.exe|Pelmorix.exe");
  EXPECT_EQ(list.Name, "Karo");
  EXPECT_EQ(list.Version, "1.5");
  ASSERT_EQ(list.Files.size(), 2u);
  EXPECT_EQ(list.Files[0].DownloadPath, "temp\\a.bin");
  EXPECT_EQ(list.Files[0].TargetPath, "data\\a.bin");
  EXPECT_EQ(list.Files[1].Url, "http://h/b");
  EXPECT_EQ(list.Files[1].TargetPath, "");  // its closing bar is missing
  EXPECT_TRUE(ParsePatchList("n|v|||0|").Files.empty());
  EXPECT_TRUE(ParsePatchList("n|v|||-3|").Files.empty());
}

TEST(PatchList, RefusesBadAndOversizedCounts) {
  EXPECT_THROW(ParsePatchList("n|v|||x|"), EConvertError);
  EXPECT_THROW(ParsePatchList("n|v|"), EConvertError);  // fewer than five fields
  EXPECT_EQ(ParsePatchList("n|v|||101|").Files.size(), 101u);
  try {
    ParsePatchList("n|v|||102|");
    FAIL();
  } catch (const EConvertError&) {
    FAIL() << "an oversized list is not a conversion failure";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(),
              Utf8ToCp1252("Die Patchliste enthält 102 Dateien, möglich sind höchstens 101"));
  }
}

TEST(ColorCode, MapsTheTableAndGreyForTheRest) {
  EXPECT_EQ(ColorFromCode(2), 0x0000FFu);
  EXPECT_EQ(ColorFromCode(1), 0xFF0000u);
  EXPECT_EQ(ColorFromCode(7), 0x8000000Au);
  EXPECT_EQ(ColorFromCode(255), 0xFFFFFFu);
  EXPECT_EQ(ColorFromCode(9), 0x808080u);
  EXPECT_EQ(ColorFromCode(-1), 0x808080u);
}

}  // namespace
}  // namespace pelmorix
