#pragma once

#include <chrono>
#include <string>

namespace pelmorix {

// What the launcher hands over: "/SOURCE /TARGET /ID", each with its leading "/" removed.
// SOURCE and TARGET are Windows-style paths, relative to the working directory or absolute.
struct THelper1Arguments {
  std::string Source;
  std::string Target;
  std::string Id;
};

// Reads the whole parameter text. The launcher passes the paths unquoted, so blanks inside
// them are kept and only " /" separates the parts: the text must start with "/" and hold
// exactly three parts, none of them empty. Blanks around the whole text are ignored.
bool ParseHelper1CommandLine(const std::string& text, THelper1Arguments& parsed);

constexpr std::chrono::milliseconds kDefaultTargetWait{30000};

// How long to wait for the target program to end: the value of PELMORIX_HELPER1_WAIT_MS in
// milliseconds when given, else kDefaultTargetWait. False for a value that is not a
// non-negative decimal number.
bool TargetWaitFromEnvironment(std::chrono::milliseconds& wait);

}  // namespace pelmorix
