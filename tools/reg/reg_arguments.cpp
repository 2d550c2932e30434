#include "tools/reg/reg_arguments.h"

#include "base/codepage.h"
#include "base/text.h"
#include "platform/registry/registry_hive.h"

namespace pelmorix {
namespace {

bool ParseOperation(const std::string& word, TRegOperation& operation, std::string& topic) {
  const std::string upper = UpperCase(word);
  if (upper == "ADD")
    operation = TRegOperation::Add;
  else if (upper == "QUERY")
    operation = TRegOperation::Query;
  else if (upper == "DELETE")
    operation = TRegOperation::Delete;
  else if (upper == "IMPORT")
    operation = TRegOperation::Import;
  else
    return false;
  topic = "REG " + upper;
  return true;
}

HKEY RootOfShortName(const std::string& name) {
  const std::string upper = UpperCase(name);
  if (upper == "HKLM") return HKEY_LOCAL_MACHINE;
  if (upper == "HKCU") return HKEY_CURRENT_USER;
  return RootKeyOfName(name);
}

bool ParseKey(const std::string& text, TRegCommand& command) {
  command.KeyText = text;
  std::string key = Utf8ToCp1252(text);
  while (!key.empty() && key.back() == '\\') key.pop_back();
  const size_t slash = key.find('\\');
  command.Root = RootOfShortName(key.substr(0, slash));
  command.KeyPath = slash == std::string::npos ? "" : key.substr(slash + 1);
  return command.Root != 0 && IsValidKeyPath(command.KeyPath);
}

bool ParseType(const std::string& text, DWORD& type) {
  const std::string upper = UpperCase(text);
  if (upper == "REG_SZ")
    type = REG_SZ;
  else if (upper == "REG_EXPAND_SZ")
    type = REG_EXPAND_SZ;
  else if (upper == "REG_BINARY")
    type = REG_BINARY;
  else
    return false;
  return true;
}

// The switches after the key. Each may appear once; which are allowed depends on the operation.
bool ParseSwitches(const std::vector<std::string>& arguments, size_t start, TRegCommand& command) {
  const bool adding = command.Operation == TRegOperation::Add;
  const bool deleting = command.Operation == TRegOperation::Delete;
  bool seenV = false, seenVe = false, seenT = false, seenD = false, seenF = false;
  for (size_t i = start; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (word.size() < 2 || (word[0] != '/' && word[0] != '-')) return false;
    const std::string name = UpperCase(word.substr(1));
    const bool hasNext = i + 1 < arguments.size();
    if (name == "V" && hasNext && !seenV) {
      seenV = true;
      command.ValueName = Utf8ToCp1252(arguments[++i]);
    } else if (name == "VE" && !seenVe) {
      seenVe = true;
    } else if (name == "T" && adding && hasNext && !seenT) {
      seenT = true;
      if (!ParseType(arguments[++i], command.Type)) return false;
    } else if (name == "D" && adding && hasNext && !seenD) {
      seenD = true;
      command.Data = arguments[++i];
    } else if (name == "F" && (adding || deleting) && !seenF) {
      seenF = command.Force = true;
    } else {
      return false;
    }
  }
  if (seenV && seenVe) return false;
  command.HasValue = seenV || seenVe || seenT || seenD;
  return true;
}

}  // namespace

bool ParseRegArguments(const std::vector<std::string>& arguments, TRegCommand& command,
                       TRegSyntaxError& error) {
  error = {"REG", false};
  if (arguments.empty() || !ParseOperation(arguments[0], command.Operation, error.Topic)) {
    return false;
  }
  if (arguments.size() < 2) return false;
  if (command.Operation == TRegOperation::Import) {
    command.FileName = arguments[1];
    return arguments.size() == 2;
  }
  if (!ParseKey(arguments[1], command)) {
    error.BadKeyName = true;
    return false;
  }
  return ParseSwitches(arguments, 2, command);
}

std::string FullKeyName(HKEY root, const std::string& path) {
  return RootKeyName(root) + (path.empty() ? "" : "\\" + path);
}

}  // namespace pelmorix
