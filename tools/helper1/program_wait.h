#pragma once

#include <chrono>
#include <string>

namespace pelmorix {

// Whether a process other than this one runs the executable at fullPath (an absolute path as
// ResolvedFullPath gives it). The whole path is compared, so a program of the same name in
// another folder does not count.
bool IsProgramRunning(const std::string& fullPath);

// Waits until IsProgramRunning turns false, looking again every few milliseconds; false when
// the program still runs after the limit.
bool WaitUntilProgramEnded(const std::string& fullPath, std::chrono::milliseconds limit);

}  // namespace pelmorix
