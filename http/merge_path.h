#pragma once

#include <string>

namespace pelmorix {

// Resolves a request path against the previous one. An absolute path (leading "/") is taken
// unchanged; a relative one is appended to the base, runs of "/" collapse and each ".." removes
// the segment before it. A trailing "/" stays only when the relative path had one (or was empty).
std::string MergePath(const std::string& base, const std::string& path);

}  // namespace pelmorix
