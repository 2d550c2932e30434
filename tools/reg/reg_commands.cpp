#include "tools/reg/reg_commands.h"

#include <fstream>
#include <iostream>
#include <sstream>

#include "base/codepage.h"
#include "base/convert.h"
#include "base/format.h"
#include "base/text.h"
#include "platform/registry/reg_file.h"
#include "platform/registry/registry_api.h"

namespace pelmorix {
namespace {

constexpr const char* kSuccess = "The operation completed successfully.";
constexpr const char* kNotFound =
    "ERROR: The system was unable to find the specified registry key or value.";
constexpr const char* kCanceled = "The operation was canceled by the user.";

int Fail(std::ostream& err, LONG answer) {
  switch (answer) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_KEY_DELETED:
      err << kNotFound << "\n";
      break;
    case ERROR_ACCESS_DENIED:
      err << "ERROR: Access is denied.\n";
      break;
    case ERROR_BADDB:
      err << "ERROR: The configuration registry database is corrupt.\n";
      break;
    default:
      err << "ERROR: Error accessing the registry.\n";
      break;
  }
  return 1;
}

bool Confirm(const std::string& question, std::istream& in, std::ostream& out) {
  out << question << " " << std::flush;
  std::string answer;
  if (!std::getline(in, answer)) return false;
  answer = UpperCase(Trim(answer));
  return answer == "Y" || answer == "YES";
}

std::string ShownName(const std::string& name) {
  return name.empty() ? std::string("(Default)") : Cp1252ToUtf8(name);
}

std::string TypeName(DWORD type) {
  switch (type) {
    case REG_SZ:
      return "REG_SZ";
    case REG_EXPAND_SZ:
      return "REG_EXPAND_SZ";
    case REG_BINARY:
      return "REG_BINARY";
    case REG_DWORD:
      return "REG_DWORD";
    case REG_MULTI_SZ:
      return "REG_MULTI_SZ";
    case REG_NONE:
      return "REG_NONE";
    default:
      return Format("0x%x", type);
  }
}

std::string ShownData(const TRegistryValue& value) {
  const std::string& data = value.Data;
  if (value.Type == REG_SZ || value.Type == REG_EXPAND_SZ) {
    return Cp1252ToUtf8(data.substr(0, data.find('\0')));
  }
  if (value.Type == REG_DWORD && data.size() == 4) {
    uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(data[i]);
    return Format("0x%x", number);
  }
  if (value.Type == REG_MULTI_SZ) {
    std::string text = data;
    while (!text.empty() && text.back() == '\0') text.pop_back();
    std::string shown;
    for (const char c : text) shown += c == '\0' ? std::string("\\0") : std::string(1, c);
    return Cp1252ToUtf8(shown);
  }
  std::string hex;
  for (const char c : data) hex += Format("%02X", static_cast<unsigned char>(c));
  return hex;
}

void PrintValue(std::ostream& out, const TRegistryValue& value) {
  out << "    " << ShownName(value.Name) << "    " << TypeName(value.Type) << "    "
      << ShownData(value) << "\n";
}

bool HexToBytes(const std::string& text, std::string& bytes) {
  if (text.size() % 2 != 0) return false;
  bytes.clear();
  for (size_t i = 0; i < text.size(); i += 2) {
    uint32_t byte = 0;
    if (!TryHexToUInt(text.substr(i, 2), byte)) return false;
    bytes += static_cast<char>(byte);
  }
  return true;
}

int RunAdd(const TRegCommand& command, TRegistryApi& registry, std::istream& in, std::ostream& out,
           std::ostream& err) {
  std::string data;
  if (command.Type == REG_BINARY) {
    if (!HexToBytes(command.Data, data)) {
      err << "ERROR: Invalid syntax.\nType \"REG ADD /?\" for usage.\n";
      return 1;
    }
  } else {
    data = Utf8ToCp1252(command.Data) + '\0';
  }
  HKEY key = 0;
  LONG answer = registry.RegCreateKeyExA(command.Root, command.KeyPath.c_str(), 0, nullptr, 0,
                                         KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (answer != ERROR_SUCCESS) return Fail(err, answer);
  if (command.HasValue) {
    const char* name = command.ValueName.c_str();
    const bool exists =
        registry.RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    if (exists && !command.Force &&
        !Confirm("Value " + ShownName(command.ValueName) + " exists, overwrite(Yes/No)?", in,
                 out)) {
      registry.RegCloseKey(key);
      out << kCanceled << "\n";
      return 1;
    }
    answer = registry.RegSetValueExA(key, name, 0, command.Type,
                                     reinterpret_cast<const BYTE*>(data.data()),
                                     static_cast<DWORD>(data.size()));
  }
  registry.RegCloseKey(key);
  if (answer != ERROR_SUCCESS) return Fail(err, answer);
  out << kSuccess << "\n";
  return 0;
}

int RunQuery(const TRegCommand& command, const TRegistryFolder& folder, std::ostream& out,
             std::ostream& err) {
  const std::string rootName = RootKeyName(command.Root);
  TRegistryHive hive;
  if (folder.Load(rootName, hive) == TRegistryFolder::THiveState::Unreadable) {
    return Fail(err, ERROR_FILE_NOT_FOUND);
  }
  const TRegistryKey* key = hive.FindKey(command.KeyPath);
  if (key == nullptr) return Fail(err, ERROR_FILE_NOT_FOUND);
  const std::string shownKey = Cp1252ToUtf8(FullKeyName(command.Root, command.KeyPath));
  if (command.HasValue) {
    const TRegistryValue* value = key->FindValue(command.ValueName);
    if (value == nullptr) return Fail(err, ERROR_FILE_NOT_FOUND);
    out << "\n" << shownKey << "\n";
    PrintValue(out, *value);
    out << "\n";
    return 0;
  }
  out << "\n";
  if (!key->Values.empty()) {
    out << shownKey << "\n";
    for (const auto& value : key->Values) PrintValue(out, value);
    out << "\n";
  }
  for (const auto& child : hive.SubKeyPaths(command.KeyPath)) {
    out << Cp1252ToUtf8(FullKeyName(command.Root, child)) << "\n";
  }
  return 0;
}

int RunDelete(const TRegCommand& command, TRegistryApi& registry, std::istream& in,
              std::ostream& out, std::ostream& err) {
  if (!command.HasValue && command.KeyPath.empty()) {
    err << "ERROR: Invalid key name.\nType \"REG DELETE /?\" for usage.\n";
    return 1;
  }
  HKEY key = 0;
  LONG answer =
      registry.RegOpenKeyExA(command.Root, command.KeyPath.c_str(), 0, KEY_ALL_ACCESS, &key);
  if (answer != ERROR_SUCCESS) return Fail(err, answer);
  const std::string question =
      command.HasValue ? "Delete the registry value " + ShownName(command.ValueName) + " (Yes/No)?"
                       : "Permanently delete the registry key " + command.KeyText + " (Yes/No)?";
  if (!command.Force && !Confirm(question, in, out)) {
    registry.RegCloseKey(key);
    out << kCanceled << "\n";
    return 1;
  }
  answer = command.HasValue ? registry.RegDeleteValueA(key, command.ValueName.c_str())
                            : registry.RegDeleteTreeA(command.Root, command.KeyPath.c_str());
  registry.RegCloseKey(key);
  if (answer != ERROR_SUCCESS) return Fail(err, answer);
  out << kSuccess << "\n";
  return 0;
}

int RunImport(const TRegCommand& command, const TRegistryFolder& folder, std::ostream& out,
              std::ostream& err) {
  std::ifstream file(command.FileName, std::ios::binary);
  std::stringstream content;
  if (!file || !(content << file.rdbuf())) {
    err << "ERROR: Error opening the file. There may be a disk or file system error.\n";
    return 1;
  }
  std::vector<TRegFileSection> sections;
  std::string problem;
  if (!ParseRegFile(content.str(), sections, &problem)) {
    err << "ERROR: Error accessing the registry.\n";
    return 1;
  }
  for (const auto& section : sections) {
    if (RootKeyOfName(section.RootName) == 0) {
      err << "ERROR: Error accessing the registry.\n";
      return 1;
    }
  }
  // All sections of one root are applied in one locked change of its file.
  for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    const std::string rootName = RootKeyName(root);
    bool mentioned = false;
    for (const auto& section : sections) mentioned |= RootKeyOfName(section.RootName) == root;
    if (!mentioned) continue;
    const LONG answer = folder.Update(rootName, [&](TRegistryHive& hive, bool& changed) {
      ApplyRegFileSections(sections, rootName, hive);
      changed = true;
      return ERROR_SUCCESS;
    });
    if (answer != ERROR_SUCCESS) return Fail(err, answer);
  }
  out << kSuccess << "\n";
  return 0;
}

}  // namespace

int RunRegCommand(const TRegCommand& command, const std::string& registryFolder, std::istream& in,
                  std::ostream& out, std::ostream& err) {
  TRegistryApi registry(registryFolder);
  switch (command.Operation) {
    case TRegOperation::Add:
      return RunAdd(command, registry, in, out, err);
    case TRegOperation::Query:
      return RunQuery(command, registry.Folder(), out, err);
    case TRegOperation::Delete:
      return RunDelete(command, registry, in, out, err);
    case TRegOperation::Import:
      return RunImport(command, registry.Folder(), out, err);
  }
  return 1;
}

}  // namespace pelmorix
