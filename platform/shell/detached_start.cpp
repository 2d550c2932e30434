#include "platform/shell/detached_start.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace pelmorix {
namespace {

#ifndef CLOSE_RANGE_CLOEXEC
#define CLOSE_RANGE_CLOEXEC (1U << 2)
#endif

// Everything below runs between fork and exec, so it uses async-signal-safe calls only.

void ReportAndExit(int pipe, TStartFailure::TStep step, int error) {
  const TStartFailure failure{step, error};
  ssize_t put;
  do {
    put = write(pipe, &failure, sizeof failure);
  } while (put < 0 && errno == EINTR);
  _exit(127);
}

void ResetSignals() {
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigemptyset(&standard.sa_mask);
  for (int signal = 1; signal < NSIG; ++signal) sigaction(signal, &standard, nullptr);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
}

// Marks every descriptor from 3 up close-on-exec; the report pipe is marked already.
void KeepOnlyStandardDescriptors() {
#ifdef SYS_close_range
  if (syscall(SYS_close_range, 3U, ~0U, CLOSE_RANGE_CLOEXEC) == 0) return;
#endif
  rlimit limit{};
  rlim_t highest = 65536;
  if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < highest) highest = limit.rlim_cur;
  for (int fd = 3; static_cast<rlim_t>(fd) < highest; ++fd) fcntl(fd, F_SETFD, FD_CLOEXEC);
}

[[noreturn]] void RunProgram(int pipe, const char* program, char* const* argv, const char* folder) {
  ResetSignals();
  const int input = open("/dev/null", O_RDONLY);
  if (input > 0) {
    dup2(input, 0);
    close(input);
  }
  KeepOnlyStandardDescriptors();
  if (folder != nullptr && chdir(folder) != 0) {
    ReportAndExit(pipe, TStartFailure::ChangeFolder, errno);
  }
  execve(program, argv, environ);
  ReportAndExit(pipe, TStartFailure::Execute, errno);
  _exit(127);
}

// Reads the report of the new process: nothing before the end of the pipe means it runs.
TStartFailure ReadReport(int pipe) {
  TStartFailure failure;
  char* into = reinterpret_cast<char*>(&failure);
  size_t got = 0;
  while (got < sizeof failure) {
    const ssize_t part = read(pipe, into + got, sizeof failure - got);
    if (part < 0 && errno == EINTR) continue;
    if (part <= 0) break;
    got += static_cast<size_t>(part);
  }
  return got == sizeof failure ? failure : TStartFailure{};
}

}  // namespace

TStartFailure StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                            const std::string& folder) {
  // Everything the new process needs is prepared before the fork.
  std::vector<char*> argv;
  for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const char* folderName = folder.empty() ? nullptr : folder.c_str();

  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return {TStartFailure::Prepare, errno};
  const pid_t middle = fork();
  if (middle < 0) {
    const int error = errno;
    close(report[0]);
    close(report[1]);
    return {TStartFailure::Prepare, error};
  }
  if (middle == 0) {
    // The middle process only starts a session and the program, then ends, so that the program
    // is handed to init and never becomes this process's child.
    close(report[0]);
    setsid();
    const pid_t started = fork();
    if (started < 0) ReportAndExit(report[1], TStartFailure::Prepare, errno);
    if (started > 0) _exit(0);
    RunProgram(report[1], program.c_str(), argv.data(), folderName);
  }
  close(report[1]);
  int status = 0;
  while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  const TStartFailure failure = ReadReport(report[0]);
  close(report[0]);
  return failure;
}

}  // namespace pelmorix
