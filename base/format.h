#pragma once

#include <string>

namespace pelmorix {

// printf-style formatting into a text; the one way message texts with placeholders are built.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace pelmorix
