#include "base/convert.h"

#include <gtest/gtest.h>

#include "base/codepage.h"

namespace pelmorix {
namespace {

TEST(StrToInt, AcceptsSignedDecimalsWithinThirtyTwoBits) {
  EXPECT_EQ(StrToInt("0"), 0);
  EXPECT_EQ(StrToInt("101"), 101);
  EXPECT_EQ(StrToInt("+7"), 7);
  EXPECT_EQ(StrToInt("-12"), -12);
  EXPECT_EQ(StrToInt("007"), 7);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
}

TEST(StrToInt, RejectsEverythingElseWithTheGermanMessage) {
  for (const char* bad : {"", "+", "-", " 1", "1 ", "1a", "abc", "2147483648", "-2147483649",
                          "99999999999999999999", "0x10", "1.5"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(),
                Utf8ToCp1252("'" + std::string(bad) + "' ist kein gültiger Integerwert"));
      EXPECT_STREQ(e.ClassName(), "EConvertError");
    }
  }
  EXPECT_EQ(StrToIntDef("x", -1), -1);
}

TEST(HexToUInt, ReadsBothCasesAndRejectsOthers) {
  uint32_t value = 0;
  EXPECT_TRUE(TryHexToUInt("1aF", value));
  EXPECT_EQ(value, 0x1AFu);
  EXPECT_TRUE(TryHexToUInt("7fffffff", value));
  EXPECT_EQ(value, 0x7FFFFFFFu);
  EXPECT_FALSE(TryHexToUInt("", value));
  EXPECT_FALSE(TryHexToUInt("12g", value));
  EXPECT_FALSE(TryHexToUInt("100000000", value));
}

}  // namespace
}  // namespace pelmorix
