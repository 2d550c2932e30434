// Helper1.exe: puts a downloaded launcher in place of the running one. The launcher starts it
// as "Helper1.exe /SOURCE /TARGET /ID" right before it closes; Helper1 waits until no process
// runs TARGET any more, then replaces TARGET with SOURCE in one step, so the next start runs
// the new program. Whatever goes wrong, TARGET stays a whole, working file, and the user is
// told: the error output and a message box carry the same text, and the exit code is not 0.
#include <chrono>
#include <iostream>
#include <string>
#include <thread>

#include "base/retry.h"
#include "platform/environment/command_line_text.h"
#include "platform/files/files.h"
#include "platform/files/full_path.h"
#include "platform/files/replace_file.h"
#include "tools/helper1/failure_box.h"
#include "tools/helper1/helper1_arguments.h"
#include "tools/helper1/program_wait.h"

namespace {

// Another program may hold the file for a moment (a virus scanner or an indexer looking at a
// new executable), which refuses the move: it is tried again for a while before it counts as
// failed.
bool MoveWithRetries(const std::string& source, const std::string& target) {
  return pelmorix::RetryWithin(
      pelmorix::kHeldFileRetryLimit, [&] { return pelmorix::MoveFileReplacing(source, target); },
      [] { std::this_thread::sleep_for(std::chrono::milliseconds(250)); });
}

// The launcher passes the paths unquoted, so the arguments as split at blanks would cut a path
// with a blank in two: the whole parameter text is read instead.
int Replace(const std::string& commandLine, std::string& failure) {
  using namespace pelmorix;
  THelper1Arguments arguments;
  if (!ParseHelper1CommandLine(commandLine, arguments)) {
    failure = "Helper1: cannot read the command line \"" + commandLine +
              "\".\nUsage: Helper1.exe /SOURCE /TARGET /ID\n"
              "Replaces TARGET with SOURCE once no program runs TARGET any more.";
    return 2;
  }
  std::chrono::milliseconds wait{};
  if (!TargetWaitFromEnvironment(wait)) {
    failure = "Helper1: PELMORIX_HELPER1_WAIT_MS must be a number of milliseconds.";
    return 2;
  }
  if (!FileExists(arguments.Source)) {
    failure = "Helper1: the new file " + arguments.Source + " does not exist; " + arguments.Target +
              " is left as it is.";
    return 1;
  }
  const std::string target = ResolvedFullPath(arguments.Target);
  if (!WaitUntilProgramEnded(target, wait)) {
    failure = "Helper1: " + arguments.Target + " is still running after " +
              std::to_string(wait.count()) + " ms; nothing was replaced (" + arguments.Source +
              " and " + arguments.Target + " are left as they are).";
    return 1;
  }
  if (!MoveWithRetries(arguments.Source, target)) {
    failure = "Helper1: " + arguments.Target + " could not be replaced with " + arguments.Source +
              "; the old file is left in place.";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string failure;
  const int code = Replace(pelmorix::CommandLineParameters(), failure);
  if (code != 0) {
    std::cerr << failure << "\n";
    pelmorix::ShowFailureBox(failure, argc, argv);
  }
  return code;
}
