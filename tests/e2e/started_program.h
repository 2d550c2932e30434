#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

namespace pelmorix::e2e {

// How to start a program: its arguments (the first one the program's path), its working
// directory (the test's own when empty), environment variables set on top of the test's own,
// and the file that takes its standard output and error.
struct TProgramStart {
  std::vector<std::string> Argv;
  std::string WorkingDirectory;
  std::vector<std::pair<std::string, std::string>> Environment;
  std::string OutputFile = "/dev/null";
};

// A program running beside the test, stopped when the object goes (SIGTERM, then SIGKILL).
class TStartedProgram {
 public:
  explicit TStartedProgram(const TProgramStart& start);
  ~TStartedProgram();
  TStartedProgram(const TStartedProgram&) = delete;
  TStartedProgram& operator=(const TStartedProgram&) = delete;

  pid_t Pid() const { return pid_; }
  bool HasEnded();
  // Waits up to the time for the end. The exit code, 128 + the signal for a program ended by
  // a signal, or -1 when it still runs.
  int WaitForExit(double seconds);
  // Asks it to end, and kills it after the grace time; gives what WaitForExit gives.
  int Stop(double graceSeconds = 10);
  // What it wrote to standard output and error so far.
  std::string Output() const;

 private:
  pid_t pid_ = -1;
  int status_ = -1;
  bool ended_ = false;
  std::string outputFile_;
};

// The full path of a program found in PATH; empty when there is none.
std::string ProgramInPath(const std::string& name);

}  // namespace pelmorix::e2e
