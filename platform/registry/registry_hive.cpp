#include "platform/registry/registry_hive.h"

#include "base/text.h"

namespace pelmorix {

TRegistryValue* TRegistryKey::FindValue(std::string_view name) {
  for (auto& value : Values) {
    if (SameText(value.Name, name)) return &value;
  }
  return nullptr;
}

const TRegistryValue* TRegistryKey::FindValue(std::string_view name) const {
  return const_cast<TRegistryKey*>(this)->FindValue(name);
}

void TRegistryKey::SetValue(const std::string& name, DWORD type, std::string data) {
  TRegistryValue* value = FindValue(name);
  if (value == nullptr) {
    Values.push_back({name, type, std::move(data)});
    return;
  }
  value->Type = type;
  value->Data = std::move(data);
}

bool TRegistryKey::DeleteValue(std::string_view name) {
  for (auto it = Values.begin(); it != Values.end(); ++it) {
    if (SameText(it->Name, name)) {
      Values.erase(it);
      return true;
    }
  }
  return false;
}

TRegistryHive::TRegistryHive() { keys_[""] = TRegistryKey{}; }

TRegistryKey* TRegistryHive::FindKey(std::string_view path) {
  auto it = keys_.find(UpperCase(path));
  return it == keys_.end() ? nullptr : &it->second;
}

const TRegistryKey* TRegistryHive::FindKey(std::string_view path) const {
  return const_cast<TRegistryHive*>(this)->FindKey(path);
}

TRegistryKey& TRegistryHive::CreateKey(std::string_view path, bool* created) {
  if (created != nullptr) *created = false;
  if (TRegistryKey* existing = FindKey(path)) return *existing;
  // Parents first, so that every stored key has its whole chain above it.
  const size_t slash = path.rfind('\\');
  if (slash != std::string_view::npos) CreateKey(path.substr(0, slash));
  TRegistryKey& key = keys_[UpperCase(path)];
  key.Path = std::string(path);
  if (created != nullptr) *created = true;
  return key;
}

bool TRegistryHive::DeleteKey(std::string_view path) {
  if (path.empty()) {
    keys_.clear();
    keys_[""] = TRegistryKey{};
    return true;
  }
  const std::string upper = UpperCase(path);
  auto it = keys_.find(upper);
  if (it == keys_.end()) return false;
  keys_.erase(it);
  // Keys that sort between the key and its children ("A B" before "A\C") are not touched.
  const std::string childPrefix = upper + "\\";
  it = keys_.lower_bound(childPrefix);
  while (it != keys_.end() && it->first.compare(0, childPrefix.size(), childPrefix) == 0) {
    it = keys_.erase(it);
  }
  return true;
}

std::vector<std::string> TRegistryHive::SubKeyPaths(std::string_view path) const {
  const std::string upper = UpperCase(path);
  const std::string prefix = upper.empty() ? "" : upper + "\\";
  std::vector<std::string> children;
  for (auto it = keys_.lower_bound(prefix); it != keys_.end(); ++it) {
    if (it->first.compare(0, prefix.size(), prefix) != 0) break;
    if (it->first.size() == prefix.size()) continue;  // the root itself
    if (it->first.find('\\', prefix.size()) == std::string::npos) {
      children.push_back(it->second.Path);
    }
  }
  return children;
}

bool IsValidKeyPath(std::string_view path) {
  if (path.empty()) return true;
  if (path.front() == '\\' || path.back() == '\\') return false;
  if (path.find("\\\\") != std::string_view::npos) return false;
  return path.find_first_of("\r\n") == std::string_view::npos;
}

}  // namespace pelmorix
