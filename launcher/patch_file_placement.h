#pragma once

#include <string>

namespace pelmorix {

// How one attempt to put a downloaded patch file in place ended.
enum class TPlacement {
  Placed,   // the file now stands at its target
  Skipped,  // not placed, and trying again cannot help: lists may name such targets
  Held,     // something at the target refuses to go; another program may let go of it soon
};

// Deletes the file at target, when there is one, and moves the download there. A failed move
// is Skipped for an empty target, a target in a folder that does not exist, a download that is
// gone (a list naming one file name twice) and the running program's own file (ownProgram,
// compared by full path); any other failure means the target is held.
TPlacement PlacePatchFile(const std::string& download, const std::string& target,
                          const std::string& ownProgram);

}  // namespace pelmorix
