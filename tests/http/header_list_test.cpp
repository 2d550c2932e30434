#include <gtest/gtest.h>

#include "http/header_folding.h"
#include "http/header_list.h"
#include "http/token.h"

namespace pelmorix {
namespace {

using Lines = std::vector<std::string>;

TEST(CutToken, CutsAtTheFirstDelimiterOrTakesEverything) {
  std::string text = "a, b, c";
  EXPECT_EQ(CutToken(text, ", "), "a");
  EXPECT_EQ(text, "b, c");
  EXPECT_EQ(CutToken(text, ",", false), "b");
  EXPECT_EQ(text, "b, c");
  EXPECT_EQ(CutToken(text, ";"), "b, c");
  EXPECT_EQ(text, "");
  std::string edge = ":x:";
  EXPECT_EQ(CutToken(edge, ":"), "");  // delimiter as the first character
  EXPECT_EQ(CutToken(edge, ":"), "x");
  EXPECT_EQ(edge, "");  // and as the last
  std::string cased = "aXbxc";
  EXPECT_EQ(CutToken(cased, "x"), "aXb");
}

TEST(HeaderList, ReadsNamesAndUnfoldedValues) {
  TIdHeaderList list;
  list.Add("Content-Type:  text/html ");
  list.Add("X-Long: first ");
  list.Add("   second");
  list.Add("\tthird  ");
  list.Add("no colon here");
  list.Add("x-long: again");
  EXPECT_EQ(list.NameOfLine(0), "CONTENT-TYPE");
  EXPECT_EQ(list.NameOfLine(4), "");
  EXPECT_EQ(list.ValueOf("content-type"), "text/html");
  EXPECT_EQ(list.ValueOf("X-LONG"), "first second third");
  EXPECT_EQ(list.ValueOfLine(-1), "");
  EXPECT_EQ(list.ValueOfLine(6), "");
  EXPECT_EQ(list.IndexOfHeader("Missing"), -1);
  EXPECT_EQ(list.IndexOfHeader("no colon here"), -1);
  EXPECT_EQ(list.IndexOfHeader("X-Lon"), -1);
  Lines values;
  list.ValuesOf("X-Long", values);
  EXPECT_EQ(values, (Lines{"first second third", "again"}));

  list.UnfoldLines = false;
  EXPECT_EQ(list.ValueOf("X-Long"), "first");
  list.CaseSensitive = true;
  EXPECT_EQ(list.IndexOfHeader("x-long"), 5);
}

TEST(HeaderList, EmptyContinuationLinesAddNothing) {
  TIdHeaderList list;
  list.Add("A:");
  list.Add("  ");
  list.Add(" x");
  list.Add(" ");
  EXPECT_EQ(list.ValueOf("A"), "x");
}

TEST(HeaderList, SetValueReplacesTheFirstInPlaceAndRemovesContinuations) {
  TIdHeaderList list;
  list.Add("Host: one");
  list.Add("Accept: a,");
  list.Add(" b");
  list.Add("accept: second");
  list.Add("User-Agent: x");
  list.SetValue("ACCEPT", "c");
  EXPECT_EQ(list.Lines(), (Lines{"Host: one", "ACCEPT: c", "accept: second", "User-Agent: x"}));
  list.SetValue("New", "v");
  EXPECT_EQ(list[4], "New: v");

  list.Insert(2, " continued");
  list.SetValue("Accept", "");
  EXPECT_EQ(list.Lines(), (Lines{"Host: one", "accept: second", "User-Agent: x", "New: v"}));
  list.SetValue("Absent", "");
  EXPECT_EQ(list.Count(), 4);

  list.FoldLines = false;
  list.Insert(1, " kept");
  list.SetValue("Host", "");
  EXPECT_EQ(list[0], " kept");  // without folding only the line itself goes
}

TEST(HeaderList, LookupsFollowEveryChangeOfTheLines) {
  TIdHeaderList list;
  list.Add("A: 1");
  list.Add("B: 2");
  EXPECT_EQ(list.IndexOfHeader("b"), 1);
  list.Add("a: again");  // a later line of the same name is not the first
  list.Add("C: 3");
  EXPECT_EQ(list.IndexOfHeader("A"), 0);
  EXPECT_EQ(list.IndexOfHeader("c"), 3);
  list.Insert(0, "Z: 0");
  EXPECT_EQ(list.IndexOfHeader("C"), 4);
  list.Delete(1);
  EXPECT_EQ(list.ValueOf("a"), "again");
  list.SetValue("b", "x,  y");
  list.SetValue("B", std::string(40, 'w') + " " + std::string(40, 'v'));  // now two lines
  EXPECT_EQ(list.IndexOfHeader("a"), 3);
  list.SetValue("New", "n");
  EXPECT_EQ(list.IndexOfHeader("new"), list.Count() - 1);
  list.Clear();
  EXPECT_EQ(list.IndexOfHeader("A"), -1);
  list.Add("A: fresh");
  EXPECT_EQ(list.ValueOf("a"), "fresh");
}

// The first line of a name by a plain scan of the lines, for comparison with the lookups.
int ScanFor(const TIdHeaderList& list, const std::string& name) {
  for (int i = 0; i < list.Count(); ++i) {
    if (list.NameOfLine(i) == name && list[i].find(':') != std::string::npos) return i;
  }
  return -1;
}

TEST(HeaderList, LookupsFollowLinesThatMoveWhileAHeadIsRewritten) {
  TIdHeaderList list(30);
  for (int i = 0; i < 40; ++i) list.Add("H" + std::to_string(i) + ": short");
  list.Add("h7: second of its name");
  const std::string folded = std::string(20, 'a') + " " + std::string(20, 'b');
  auto expectAllFound = [&] {
    for (int i = 0; i < 40; ++i) {
      const std::string name = "H" + std::to_string(i);
      ASSERT_EQ(list.IndexOfHeader(name), ScanFor(list, name)) << name;
    }
  };
  // Front to back, back to front, and shrinking again: each write moves the lines after it.
  for (int i = 0; i < 40; ++i) {
    list.SetValue("h" + std::to_string(i), folded);
    expectAllFound();
  }
  for (int i = 39; i >= 0; i -= 3) {
    list.SetValue("H" + std::to_string(i), "x");
    expectAllFound();
  }
  list.SetValue("H7", "");  // the second line of the name takes over
  EXPECT_EQ(list.IndexOfHeader("h7"), ScanFor(list, "H7"));
  EXPECT_EQ(list.ValueOf("h7"), "second of its name");
  list.Delete(0);
  list.Insert(5, "H0: back");
  expectAllFound();
  EXPECT_EQ(list.IndexOfHeader("h0"), 5);

  // A separator without ":" leaves the rewritten line without a name.
  list.NameValueSeparator = " = ";
  list.SetValue("H3", "y");
  EXPECT_EQ(list.IndexOfHeader("H3"), ScanFor(list, "H3"));
  EXPECT_EQ(list.IndexOfHeader("H3"), -1);
}

TEST(HeaderFolding, BreaksOnlyWhenTwoCharactersRemainPastTheWidth) {
  // Twenty characters fit a width of 20; so does one more, since a break leaves at least two.
  EXPECT_EQ(FoldLine("Name: aaaa bbbb cccc", 20), (Lines{"Name: aaaa bbbb cccc"}));
  EXPECT_EQ(FoldLine("Name: aaaa bbbb ccccc", 20), (Lines{"Name: aaaa bbbb ccccc"}));
  EXPECT_EQ(FoldLine("Name: aaaa bbbb cccccc", 20), (Lines{"Name: aaaa bbbb", " cccccc"}));
  // A value without a break candidate stays whole on its continuation line.
  const std::string solid(50, 'x');
  EXPECT_EQ(FoldLine("Name: " + solid, 20), (Lines{"Name:", " " + solid}));
}

TEST(HeaderFolding, NeverLeavesAnEmptyLineInTheHead) {
  // Control characters are blanks to the trimming: a continuation made of them alone would be
  // an empty line, which ends a request head early.
  const std::string controls = " \x01\x01\x01";
  EXPECT_EQ(FoldLine("Name: aaaa bbbb cccccc" + controls, 20),
            (Lines{"Name: aaaa bbbb", " cccccc"}));
  EXPECT_EQ(FoldLine("Name: aaaa bbbb" + controls, 16), (Lines{"Name: aaaa bbbb"}));
  EXPECT_EQ(FoldLine("A: b\r\n c\r\n ", 78), (Lines{"A: b", " c"}));
  EXPECT_EQ(FoldLine("", 78), (Lines{""}));

  TIdHeaderList list(16);
  list.SetValue("Cookie", "a=1; b=2; c=3" + controls);
  list.SetValue("Host", "example.com");
  EXPECT_EQ(list.Text().find("\r\n\r\n"), std::string::npos);
  EXPECT_EQ(list.ValueOf("cookie"), "a=1; b=2; c=3");
  EXPECT_EQ(list.ValueOf("host"), "example.com");
}

TEST(HeaderFolding, KeepsQuotedTextTogetherAndHonoursExistingBreaks) {
  EXPECT_EQ(FoldLine("A: x, \"q, r, s, t, u\", y, zz", 10),
            (Lines{"A: x,", " \"q, r, s, t, u\", y,", "  zz"}));
  EXPECT_EQ(FoldLine("A: b\r\n c", 78), (Lines{"A: b", " c"}));
  EXPECT_EQ(FoldLine("A: \"b\r\n c\"", 78), (Lines{"A: \"b", " c\""}));
}

TEST(HeaderList, FoldsLongValuesAndReadsThemBack) {
  TIdHeaderList list(30);
  list.Add("First: 1");
  list.Add("Cookie: old");
  list.Add(" old continuation");
  list.Add("Last: 2");
  std::string value;
  for (int i = 0; i < 20; ++i) value += (i ? "; c" : "c") + std::to_string(i) + "=v";
  list.SetValue("Cookie", value);
  ASSERT_GT(list.Count(), 4);
  EXPECT_EQ(list[0], "First: 1");
  EXPECT_EQ(list[list.Count() - 1], "Last: 2");
  for (int i = 1; i < list.Count() - 1; ++i) {
    EXPECT_LE(list[i].size(), 31u) << list[i];
    if (i > 1) {
      EXPECT_EQ(list[i][0], ' ') << list[i];
    }
  }
  EXPECT_EQ(list.ValueOf("Cookie"), value);
  list.SetValue("cookie", "");
  EXPECT_EQ(list.Lines(), (Lines{"First: 1", "Last: 2"}));
}

TEST(HeaderList, RequestHeaderWidthFoldsPastTenTwentyFour) {
  TIdHeaderList list(1024);
  const std::string fits = std::string(1024 - 6 - 10, 'a') + " " + std::string(9, 'b');
  list.SetValue("X-Ab", fits);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list[0].size(), 1024u);
  const std::string longer = std::string(1000, 'a') + " " + std::string(100, 'b');
  list.SetValue("X-Ab", longer);
  EXPECT_EQ(list.Lines(), (Lines{"X-Ab: " + std::string(1000, 'a'), " " + std::string(100, 'b')}));
}

}  // namespace
}  // namespace pelmorix
