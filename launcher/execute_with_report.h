#pragma once

#include <string>

#include "platform/shell/shell.h"
#include "platform/ui/message_box.h"

namespace pelmorix {

// The symbolic name of a shell failure code; the empty text for a code without one.
std::string ShellFailureName(int code);

// Starts a program, document or web address through the shell with the arguments unchanged and
// returns the shell's answer unchanged. A failure (32 or less) is first told to the user in a
// box with one OK button:
//   <name>: <report name>:<file> <parameters> konnte nicht ausgeführt werden. (Fehlercode: <n>)
int ExecuteWithReport(TShell& shell, TMessageBoxHost& messages, HWND window,
                      const std::string& operation, const std::string& file,
                      const std::string& parameters, const std::string& directory, int showCommand,
                      const std::string& reportName);

}  // namespace pelmorix
