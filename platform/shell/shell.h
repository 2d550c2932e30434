#pragma once

#include <string>

#include "platform/windows_types.h"

namespace pelmorix {

// Show commands of a started program's window.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;

// Answers of ShellExecuteA at or below 32: why the start failed. 0 means out of memory or
// resources.
constexpr int SE_ERR_FNF = 2;  // the file is not there
constexpr int SE_ERR_PNF = 3;  // a folder of the file's path, or the working folder, is not there
constexpr int SE_ERR_ACCESSDENIED = 5;
constexpr int SE_ERR_OOM = 8;
constexpr int ERROR_BAD_FORMAT = 11;  // not a program this system can run
constexpr int SE_ERR_SHARE = 26;
constexpr int SE_ERR_NOASSOC = 31;
// What a successful start answers; anything above 32 means success.
constexpr int SE_STARTED = 42;

// The shell's execute function. Every argument may be nullptr, which counts as the empty text.
class TShell {
 public:
  virtual ~TShell() = default;
  virtual int ShellExecuteA(HWND window, const char* operation, const char* file,
                            const char* parameters, const char* directory, int showCommand) = 0;
};

}  // namespace pelmorix
