#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace pelmorix {

// A child process started with the given arguments (looked up in PATH), its standard output
// readable line by line; stopped (SIGTERM, then waited for) when destroyed. POSIX only.
class TChildProcess {
 public:
  explicit TChildProcess(const std::vector<std::string>& argv);
  ~TChildProcess();
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  pid_t Pid() const { return pid_; }
  // The next line without its LF; empty at the end of the output.
  std::string ReadLine();
  // Waits up to `seconds` for the process to end; gives its exit status, or -1 if it did not.
  int WaitForExit(double seconds);

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  bool exited_ = false;
};

}  // namespace pelmorix
