// reg: the registry editor of the Windows tool's command syntax, over the registry folder
// (PELMORIX_REGISTRY, or ~/.local/share/pelmorix/registry).
#include <iostream>
#include <string>
#include <vector>

#include "platform/registry/registry_folder.h"
#include "tools/reg/reg_arguments.h"
#include "tools/reg/reg_commands.h"

int main(int argc, char** argv) {
  using namespace pelmorix;
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  TRegCommand command;
  TRegSyntaxError error;
  if (!ParseRegArguments(arguments, command, error)) {
    std::cerr << (error.BadKeyName ? "ERROR: Invalid key name." : "ERROR: Invalid syntax.")
              << "\nType \"" << error.Topic << " /?\" for usage.\n";
    return 1;
  }
  return RunRegCommand(command, TRegistryFolder::DefaultFolder(), std::cin, std::cout, std::cerr);
}
