#include "tests/support/windows_program.h"

#include <stdexcept>

namespace pelmorix {
namespace {

// The test's own environment block with the variables replaced or added.
std::string EnvironmentBlock(const std::vector<std::pair<std::string, std::string>>& changes) {
  std::string block;
  char* own = ::GetEnvironmentStringsA();
  for (const char* entry = own; *entry != '\0'; entry += lstrlenA(entry) + 1) {
    const std::string text = entry;
    bool replaced = false;
    for (const auto& [name, value] : changes) {
      replaced |= text.size() > name.size() && text[name.size()] == '=' &&
                  lstrcmpiA(text.substr(0, name.size()).c_str(), name.c_str()) == 0;
    }
    if (!replaced) block += text + '\0';
  }
  ::FreeEnvironmentStringsA(own);
  for (const auto& [name, value] : changes) block += name + "=" + value + '\0';
  return block + '\0';
}

}  // namespace

TWindowsProgram::TWindowsProgram(const TProgramLaunch& launch) {
  std::string commandLine = "\"" + launch.Program + "\"";
  for (const std::string& argument : launch.Arguments) commandLine += " " + argument;
  std::string environment = EnvironmentBlock(launch.Environment);
  // Under wine a program left with the test's own output would pass it on to what it starts, and
  // a helper that stays open would keep the test run waiting for the end of that output.
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  HANDLE output =
      ::CreateFileA(launch.OutputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (output == INVALID_HANDLE_VALUE) {
    throw std::runtime_error(launch.OutputFile + " could not be made");
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = output;
  const bool started =
      ::CreateProcessA(launch.Program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                       environment.data(), launch.WorkingDirectory.c_str(), &startup, &process_);
  const DWORD error = ::GetLastError();
  ::CloseHandle(output);
  if (!started) {
    throw std::runtime_error(launch.Program + " could not be started: error " +
                             std::to_string(error));
  }
  ::CloseHandle(process_.hThread);
}

TWindowsProgram::~TWindowsProgram() {
  if (!HasEnded()) {
    ::TerminateProcess(process_.hProcess, 1);
    ::WaitForSingleObject(process_.hProcess, 10000);
  }
  ::CloseHandle(process_.hProcess);
}

long TWindowsProgram::WaitForExit(double seconds) const {
  DWORD code = 0;
  if (::WaitForSingleObject(process_.hProcess, static_cast<DWORD>(seconds * 1000)) !=
          WAIT_OBJECT_0 ||
      !::GetExitCodeProcess(process_.hProcess, &code)) {
    return -1;
  }
  return static_cast<long>(code);
}

}  // namespace pelmorix
