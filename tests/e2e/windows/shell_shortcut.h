#pragma once

#include <optional>
#include <string>

namespace pelmorix::e2e {

// What a shell shortcut (.lnk) starts, as the Start menu starts it.
struct TShellShortcut {
  std::string Program;
  std::string Arguments;
  std::string WorkingDirectory;
};

// The shortcut read through the system's shell link object; nothing when it cannot be read.
std::optional<TShellShortcut> ReadShellShortcut(const std::string& path);

// The Start menu's program folder of all users, where a machine-wide setup puts its shortcuts.
std::string CommonProgramsFolder();
// The 64-bit Program Files folder.
std::string ProgramFilesFolder();

}  // namespace pelmorix::e2e
