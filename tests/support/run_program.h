#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/temp_folder.h"

namespace pelmorix {

struct TProgramResult {
  int ExitCode = -1;  // -1 when the program did not end normally
  std::string Out, Err;
};

// Runs a program to its end with the given input and extra environment variables, and collects
// its exit code and both outputs.
inline TProgramResult RunProgram(const std::vector<std::string>& argv,
                                 const std::vector<std::pair<std::string, std::string>>& env = {},
                                 const std::string& input = "") {
  TTempFolder scratch;
  WriteTextFile(scratch / "in", input);
  const pid_t child = fork();
  if (child == 0) {
    for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
    dup2(open((scratch / "in").c_str(), O_RDONLY), 0);
    dup2(open((scratch / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    dup2(open((scratch / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    std::vector<char*> args;
    for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  TProgramResult result;
  result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.Out = ReadTextFile(scratch / "out");
  result.Err = ReadTextFile(scratch / "err");
  return result;
}

}  // namespace pelmorix
