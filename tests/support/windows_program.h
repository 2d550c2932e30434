#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace pelmorix {

// How to start a Windows program: its path, the arguments after it, the working directory,
// environment variables set on top of the test's own, and the file that takes its standard
// output and error (and those of the programs it starts).
struct TProgramLaunch {
  std::string Program;
  std::vector<std::string> Arguments;
  std::string WorkingDirectory;
  std::vector<std::pair<std::string, std::string>> Environment;
  std::string OutputFile;
};

// A Windows program started with CreateProcessA; ended by force when the object goes while it
// still runs, so a failed test leaves nothing of it running.
class TWindowsProgram {
 public:
  explicit TWindowsProgram(const TProgramLaunch& launch);
  ~TWindowsProgram();
  TWindowsProgram(const TWindowsProgram&) = delete;
  TWindowsProgram& operator=(const TWindowsProgram&) = delete;

  DWORD Id() const { return process_.dwProcessId; }
  // The exit code once it has ended within the time; -1 while it runs.
  long WaitForExit(double seconds) const;
  bool HasEnded() const { return WaitForExit(0) != -1; }

 private:
  PROCESS_INFORMATION process_{};
};

}  // namespace pelmorix
