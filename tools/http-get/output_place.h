#pragma once

#include <string>

namespace pelmorix {

// What the name given with -o is now. A device or a pipe (/dev/null, a FIFO, NUL) cannot be
// replaced and is written in place; anything else is a file, or nothing yet.
enum class TOutputPlace { kFile, kFolder, kDevice };
TOutputPlace OutputPlaceOf(const std::string& path);

// Creates path as a new, empty file; false, with errno set, when it exists or cannot be made.
bool CreateNewFile(const std::string& path);

// Puts the file from in place of to, which may exist (both in one folder); on POSIX an existing
// to keeps its permission bits. False when it cannot.
bool ReplaceFileWith(const std::string& to, const std::string& from);

}  // namespace pelmorix
