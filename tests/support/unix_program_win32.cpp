#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <stdexcept>

#include "tests/support/unix_program.h"

namespace pelmorix {

// Wine shows the Unix root as drive Z:.
constexpr char kUnixDrive[] = "Z:";

std::string UnixPath(const std::string& path) {
  std::string unix = path.rfind(kUnixDrive, 0) == 0 ? path.substr(2) : path;
  for (char& c : unix) {
    if (c == '\\') c = '/';
  }
  return unix;
}

void StartUnixProgram(const std::vector<std::string>& argv) {
  if (argv.empty()) throw std::invalid_argument("StartUnixProgram: no program");
  // Wine hands a Unix program its arguments split by the Windows rules; none of ours holds a
  // quote.
  std::string commandLine;
  for (const std::string& argument : argv) {
    commandLine += (commandLine.empty() ? "\"" : " \"") + argument + "\"";
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessA((kUnixDrive + argv.front()).c_str(), commandLine.data(), nullptr, nullptr,
                        FALSE, 0, nullptr, nullptr, &startup, &started)) {
    throw std::runtime_error(argv.front() + " could not be started: error " +
                             std::to_string(::GetLastError()));
  }
  if (started.hProcess != nullptr) ::CloseHandle(started.hProcess);
  if (started.hThread != nullptr) ::CloseHandle(started.hThread);
}

}  // namespace pelmorix
