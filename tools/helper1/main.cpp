// Helper1.exe: puts a downloaded launcher in place of the running one. The launcher starts it
// as "Helper1.exe /SOURCE /TARGET /ID" right before it closes; Helper1 waits until no process
// runs TARGET any more, then replaces TARGET with SOURCE in one step, so the next start runs
// the new program. Whatever goes wrong, TARGET stays a whole, working file.
#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "platform/files/files.h"
#include "platform/files/full_path.h"
#include "platform/files/replace_file.h"
#include "tools/helper1/helper1_arguments.h"
#include "tools/helper1/program_wait.h"

int main(int argc, char** argv) {
  using namespace pelmorix;
  THelper1Arguments arguments;
  if (!ParseHelper1Arguments(std::vector<std::string>(argv + 1, argv + argc), arguments)) {
    std::cerr << "Usage: Helper1.exe /SOURCE /TARGET /ID\n"
                 "Replaces TARGET with SOURCE once no program runs TARGET any more.\n";
    return 2;
  }
  std::chrono::milliseconds wait{};
  if (!TargetWaitFromEnvironment(wait)) {
    std::cerr << "Helper1: PELMORIX_HELPER1_WAIT_MS must be a number of milliseconds.\n";
    return 2;
  }
  if (!FileExists(arguments.Source)) {
    std::cerr << "Helper1: the new file " << arguments.Source << " does not exist; "
              << arguments.Target << " is left as it is.\n";
    return 1;
  }
  const std::string target = ResolvedFullPath(arguments.Target);
  if (!WaitUntilProgramEnded(target, wait)) {
    std::cerr << "Helper1: " << arguments.Target << " is still running after " << wait.count()
              << " ms; nothing was replaced (" << arguments.Source << " and " << arguments.Target
              << " are left as they are).\n";
    return 1;
  }
  if (!MoveFileReplacing(arguments.Source, target)) {
    std::cerr << "Helper1: " << arguments.Target << " could not be replaced with "
              << arguments.Source << "; the old file is left in place.\n";
    return 1;
  }
  return 0;
}
