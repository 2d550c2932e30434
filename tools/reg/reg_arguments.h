#pragma once

#include <string>
#include <vector>

#include "platform/registry/registry_types.h"

namespace pelmorix {

enum class TRegOperation { Add, Query, Delete, Import };

// One command line of the registry editor, in the syntax of the Windows tool:
//   reg add KEY [/v NAME | /ve] [/t REG_SZ|REG_EXPAND_SZ|REG_BINARY] [/d DATA] [/f]
//   reg query KEY [/v NAME | /ve]
//   reg delete KEY [/v NAME | /ve] [/f]
//   reg import FILE
// KEY is HKLM, HKCU, HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER, optionally followed by "\" and a
// path. Operations and switches are case-insensitive and may start with "-" instead of "/".
struct TRegCommand {
  TRegOperation Operation = TRegOperation::Query;
  HKEY Root = 0;
  std::string KeyPath;    // below the root, Windows-1252, without leading or trailing "\"
  std::string KeyText;    // the key as typed, for messages
  std::string FileName;   // import only
  bool HasValue = false;  // /v or /ve (or, for add, /t or /d alone: the default value)
  std::string ValueName;  // empty for the default value
  DWORD Type = REG_SZ;
  std::string Data;  // /d as typed (UTF-8)
  bool Force = false;
};

// Why a command line was refused: the usage topic of the operation, and whether the key name
// was at fault (rather than the syntax).
struct TRegSyntaxError {
  std::string Topic;  // "REG ADD", "REG QUERY", ... or "REG"
  bool BadKeyName = false;
};

// Arguments without the program name. False with the error filled in when they do not fit.
bool ParseRegArguments(const std::vector<std::string>& arguments, TRegCommand& command,
                       TRegSyntaxError& error);

// The full name of the root and the key path, "HKEY_LOCAL_MACHINE\SOFTWARE\...".
std::string FullKeyName(HKEY root, const std::string& path);

}  // namespace pelmorix
