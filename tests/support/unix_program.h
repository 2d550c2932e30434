#pragma once

#include <string>
#include <vector>

namespace pelmorix {

// Windows only, for tests under wine: starts a program of the build machine (its Unix path
// first, then its arguments) with nothing but a Unix path to it. Wine gives no handle to such a
// program and none of its output, so it reports through files and ends through a connection the
// test holds. Throws when the program cannot be started.
void StartUnixProgram(const std::vector<std::string>& argv);

// The Unix path of a path on wine's drive Z: ("Z:/tmp/x" -> "/tmp/x"); other paths unchanged.
std::string UnixPath(const std::string& path);

}  // namespace pelmorix
