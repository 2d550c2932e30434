#pragma once

#include <string>
#include <string_view>

namespace pelmorix {

// Blanks are the control characters and the space (byte values 0 to 32).
inline bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// Case folding of the Windows-1252 code page: ASCII letters and the accented letters alike.
char UpperChar(char c);
char LowerChar(char c);
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);
// Whether the text holds a CR, LF or NUL, any of which would end a line of a protocol head.
bool HoldsLineBreakOrNul(std::string_view text);

}  // namespace pelmorix
