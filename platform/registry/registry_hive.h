#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/registry_types.h"

namespace pelmorix {

// One value of a key: its name as written (the empty name is the key's default value), its type
// and its data bytes exactly as they were set.
struct TRegistryValue {
  std::string Name;
  DWORD Type = REG_NONE;
  std::string Data;
};

struct TRegistryKey {
  std::string Path;  // below the root, parts joined by "\", as first written; "" is the root
  std::vector<TRegistryValue> Values;  // in the order they were first set

  TRegistryValue* FindValue(std::string_view name);
  const TRegistryValue* FindValue(std::string_view name) const;
  void SetValue(const std::string& name, DWORD type, std::string data);
  bool DeleteValue(std::string_view name);
};

// The keys of one root in memory. Key and value names compare without regard to case, as on
// Windows. The root key always exists.
class TRegistryHive {
 public:
  TRegistryHive();

  TRegistryKey* FindKey(std::string_view path);
  const TRegistryKey* FindKey(std::string_view path) const;
  // Creates the key and every missing key above it; an existing key is returned as it is.
  TRegistryKey& CreateKey(std::string_view path, bool* created = nullptr);
  // Removes the key with every key below it; the root itself only loses its values and keys.
  bool DeleteKey(std::string_view path);
  // Paths of the keys directly below path, in sorted order.
  std::vector<std::string> SubKeyPaths(std::string_view path) const;

  // Every key, parents before their children.
  const std::map<std::string, TRegistryKey>& Keys() const { return keys_; }

 private:
  std::map<std::string, TRegistryKey> keys_;  // by upper-cased path
};

// True when path is a usable key path below a root: parts separated by single "\", none of them
// empty, no line breaks. The empty path names the root.
bool IsValidKeyPath(std::string_view path);

}  // namespace pelmorix
