#pragma once

#include <string>
#include <vector>

namespace pelmorix {

// Why a detached start failed: the step and its errno.
struct TStartFailure {
  enum TStep { None, Prepare, ChangeFolder, Execute };
  TStep Step = None;
  int Error = 0;
};

// Starts a program detached: in a session of its own, re-parented away from this process (so it
// outlives it and leaves no zombie), with default signal handling, stdin on /dev/null and none
// of this process's other descriptors besides stdout and stderr. arguments[0] is the program's
// own name. With a folder given, the program starts there. The answer comes once the program
// runs or has failed to start: a close-on-exec pipe from the new process reports a failing
// chdir or execve.
TStartFailure StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                            const std::string& folder);

}  // namespace pelmorix
