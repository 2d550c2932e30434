#include "platform/shell/command_line.h"

#include <gtest/gtest.h>

namespace pelmorix {
namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLine, FollowsTheWindowsRuntimeRules) {
  EXPECT_EQ(SplitCommandLine(""), Args{});
  EXPECT_EQ(SplitCommandLine(" \t "), Args{});
  EXPECT_EQ(SplitCommandLine("/101 /0 /action4"), (Args{"/101", "/0", "/action4"}));
  EXPECT_EQ(SplitCommandLine("  a\t\tb  "), (Args{"a", "b"}));
  EXPECT_EQ(SplitCommandLine("\"two words\" x"), (Args{"two words", "x"}));
  EXPECT_EQ(SplitCommandLine("pre\"quoted part\"post"), (Args{"prequoted partpost"}));
  EXPECT_EQ(SplitCommandLine("\"\" x \"\""), (Args{"", "x", ""}));
  EXPECT_EQ(SplitCommandLine("/temp\\new.exe /Pelmorix.exe"),
            (Args{"/temp\\new.exe", "/Pelmorix.exe"}));
  // Backslashes count only before a quote.
  EXPECT_EQ(SplitCommandLine("a\\\\b"), (Args{"a\\\\b"}));
  EXPECT_EQ(SplitCommandLine("a\\\"b"), (Args{"a\"b"}));
  EXPECT_EQ(SplitCommandLine("a\\\\\"b c\""), (Args{"a\\b c"}));
  EXPECT_EQ(SplitCommandLine("a\\\\\\\"b"), (Args{"a\\\"b"}));
  EXPECT_EQ(SplitCommandLine("\"C:\\Games\\\\\" next"), (Args{"C:\\Games\\", "next"}));
  // Inside quotes a doubled quote is a literal one; an open quote runs to the end.
  EXPECT_EQ(SplitCommandLine("\"say \"\"hi\"\"\" x"), (Args{"say \"hi\"", "x"}));
  EXPECT_EQ(SplitCommandLine("\"open to the end"), (Args{"open to the end"}));
  EXPECT_EQ(SplitCommandLine("\"http://127.0.0.1/index.php?a=1&b=2\""),
            (Args{"http://127.0.0.1/index.php?a=1&b=2"}));
}

}  // namespace
}  // namespace pelmorix
