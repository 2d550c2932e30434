#include "tests/e2e/started_program.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "tests/support/temp_folder.h"

namespace pelmorix::e2e {

TStartedProgram::TStartedProgram(const TProgramStart& start) : outputFile_(start.OutputFile) {
  if (start.Argv.empty()) throw std::runtime_error("no program to start");
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    // Its own process group, so a stop reaches what a shell script starts as well.
    setpgid(0, 0);
    for (const auto& [name, value] : start.Environment) setenv(name.c_str(), value.c_str(), 1);
    if (!start.WorkingDirectory.empty() && chdir(start.WorkingDirectory.c_str()) != 0) _exit(126);
    const int output = open(start.OutputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    const int input = open("/dev/null", O_RDONLY);
    if (output < 0 || input < 0) _exit(126);
    dup2(input, 0);
    dup2(output, 1);
    dup2(output, 2);
    std::vector<char*> args;
    for (const auto& arg : start.Argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  setpgid(pid_, pid_);
}

TStartedProgram::~TStartedProgram() { Stop(5); }

bool TStartedProgram::HasEnded() {
  if (!ended_ && waitpid(pid_, &status_, WNOHANG) == pid_) ended_ = true;
  return ended_;
}

int TStartedProgram::WaitForExit(double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!HasEnded() && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (!HasEnded()) return -1;
  return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
}

int TStartedProgram::Stop(double graceSeconds) {
  if (!HasEnded()) {
    kill(-pid_, SIGTERM);
    if (WaitForExit(graceSeconds) == -1) {
      kill(-pid_, SIGKILL);
      WaitForExit(60);
    }
  }
  return WaitForExit(0);
}

std::string TStartedProgram::Output() const { return ReadTextFile(outputFile_); }

std::string ProgramInPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path != nullptr ? path : "/usr/bin:/bin");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return "";
}

}  // namespace pelmorix::e2e
