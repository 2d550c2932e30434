#include "tests/e2e/e2e_registry.h"

#include <sstream>
#include <stdexcept>

#include "tests/support/run_program.h"

namespace pelmorix::e2e {

TE2eRegistry::TE2eRegistry(std::string folder) : folder_(std::move(folder)) {}

std::string TE2eRegistry::MachineKey(int id) {
  return "HKLM\\SOFTWARE\\velkora\\tarnovia\\" + std::to_string(id);
}

std::string TE2eRegistry::Reg(const std::vector<std::string>& arguments) {
  std::vector<std::string> argv{PELMORIX_BIN_DIR "/reg"};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  const TProgramResult result = RunProgram(argv, {{"PELMORIX_REGISTRY", folder_}});
  if (result.ExitCode != 0) {
    throw std::runtime_error("reg " + arguments.front() + " failed: " + result.Out + result.Err);
  }
  return result.Out;
}

void TE2eRegistry::SetMachineValue(int id, const std::string& name, const std::string& value) {
  Reg({"add", MachineKey(id), "/v", name, "/d", value, "/f"});
}

void TE2eRegistry::SetUserValue(int id, const std::string& name, const std::string& value) {
  Reg({"add", "HKCU\\SOFTWARE\\velkora\\tarnovia\\" + std::to_string(id), "/v", name, "/d", value,
       "/f"});
}

std::optional<std::string> TE2eRegistry::MachineValue(int id, const std::string& name) {
  const TProgramResult result =
      RunProgram({PELMORIX_BIN_DIR "/reg", "query", MachineKey(id), "/v", name},
                 {{"PELMORIX_REGISTRY", folder_}});
  if (result.ExitCode != 0) return std::nullopt;
  // "    <name>    REG_SZ    <value>"
  std::istringstream lines(result.Out);
  for (std::string line; std::getline(lines, line);) {
    const std::string lead = "    " + name + "    ";
    if (line.compare(0, lead.size(), lead) != 0) continue;
    const size_t type = line.find("    ", lead.size());
    if (type == std::string::npos) return "";
    return line.substr(type + 4);
  }
  return std::nullopt;
}

}  // namespace pelmorix::e2e
