#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace pelmorix {

// What the launcher hands over: "/SOURCE /TARGET /ID", each with its leading "/" removed.
// SOURCE and TARGET are Windows-style paths, relative to the working directory.
struct THelper1Arguments {
  std::string Source;
  std::string Target;
  std::string Id;
};

// Exactly three arguments, each "/" and at least one more character.
bool ParseHelper1Arguments(const std::vector<std::string>& arguments, THelper1Arguments& parsed);

constexpr std::chrono::milliseconds kDefaultTargetWait{30000};

// How long to wait for the target program to end: the value of PELMORIX_HELPER1_WAIT_MS in
// milliseconds when given, else kDefaultTargetWait. False for a value that is not a
// non-negative decimal number.
bool TargetWaitFromEnvironment(std::chrono::milliseconds& wait);

}  // namespace pelmorix
