#pragma once

#include <string>

namespace pelmorix {

// Puts the file `from` in place of `to` in one step, as MoveFileEx with replace and copy
// allowed: a program started from `to` afterwards sees either the old file or the whole new
// one, never a part. When `to` exists, the new file takes its permission bits, so a replaced
// program stays executable. Across file systems the file is copied to a temporary beside `to`
// first and renamed from there. On failure `to` is unchanged and `from` is still there; on
// success `from` is gone. Paths may use "\" as separator.
bool MoveFileReplacing(const std::string& from, const std::string& to);

}  // namespace pelmorix
