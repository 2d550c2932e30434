#pragma once

#include <string>
#include <vector>

namespace pelmorix {

// Splits a parameter text into arguments by the rules of the Windows C runtime:
// - spaces and tabs outside double quotes separate arguments;
// - a double quote starts or ends a quoted part; inside one, "" is a literal quote;
// - 2n backslashes before a quote give n backslashes and the quote acts as above; 2n+1 give n
//   backslashes and a literal quote; backslashes before anything else are literal.
// An empty quoted argument ("") is kept as an empty argument.
std::vector<std::string> SplitCommandLine(const std::string& text);

}  // namespace pelmorix
