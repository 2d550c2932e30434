#include <gtest/gtest.h>

#include "base/codepage.h"
#include "base/format.h"
#include "base/text.h"

namespace pelmorix {
namespace {

TEST(CodePage, RoundTripsEveryByte) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Cp1252ToUtf8("\x80\xFC"), "\xE2\x82\xAC\xC3\xBC");  // euro sign, u umlaut
}

TEST(CodePage, CharactersWithoutAFormBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("a\xE2\x98\x83z"), "a?z");      // a snowman has no single-byte form
  EXPECT_EQ(Utf8ToCp1252("a\xF0\x9F\x98\x80z"), "a?z");  // nor has a four-byte emoji
  EXPECT_EQ(Utf8ToCp1252("a\xC3z"), "a?z");              // a sequence cut short
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??");             // an overlong form is malformed
  EXPECT_EQ(Utf8ToCp1252("Größe"),
            "Gr\xF6\xDF"
            "e");
}

TEST(Text, TrimsBlanksAndFoldsCodePageLetters) {
  EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
  EXPECT_EQ(TrimLeft("  x "), "x ");
  EXPECT_EQ(TrimRight("  x "), "  x");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(UpperCase(Utf8ToCp1252("gäste ÿ")), Utf8ToCp1252("GÄSTE Ÿ"));
  EXPECT_EQ(LowerCase(Utf8ToCp1252("ÄÖÜ×")), Utf8ToCp1252("äöü×"));
  EXPECT_TRUE(SameText("Content-Length", "CONTENT-length"));
  EXPECT_FALSE(SameText("Host", "Hosts"));
}

TEST(Format, FormatsLongTexts) {
  const std::string big(5000, 'x');
  EXPECT_EQ(Format("<%s|%d>", big.c_str(), 42), "<" + big + "|42>");
  EXPECT_EQ(Format("%s", ""), "");
}

}  // namespace
}  // namespace pelmorix
