#include "platform/registry/registry_api.h"

#include <cstring>
#include <map>

namespace pelmorix {
namespace {

constexpr REGSAM kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | KEY_DELETE |
                                KEY_WRITE_DAC | KEY_WRITE_OWNER;

std::string JoinPath(const std::string& base, const std::string& sub) {
  if (base.empty()) return sub;
  if (sub.empty()) return base;
  return base + "\\" + sub;
}

std::string ValueNameOf(const char* valueName) { return valueName != nullptr ? valueName : ""; }

struct TOpenKey {
  std::string RootName;
  std::string Path;
  REGSAM Access = 0;
};

}  // namespace

struct TRegistryApi::TState {
  explicit TState(std::string folder) : Folder(std::move(folder)) {}

  bool Resolve(HKEY key, const char* subKey, TOpenKey& target, LONG& failure) const;
  HKEY AddHandle(TOpenKey key);

  TRegistryFolder Folder;
  std::map<HKEY, TOpenKey> OpenKeys;
  HKEY NextHandle = 0x100;
};

TRegistryApi::TRegistryApi() : TRegistryApi(TRegistryFolder::DefaultFolder()) {}

TRegistryApi::TRegistryApi(std::string folder)
    : state_(std::make_unique<TState>(std::move(folder))) {}

TRegistryApi::~TRegistryApi() = default;

const TRegistryFolder& TRegistryApi::Folder() const { return state_->Folder; }

bool TRegistryApi::TState::Resolve(HKEY key, const char* subKey, TOpenKey& target,
                                   LONG& failure) const {
  failure = ERROR_INVALID_HANDLE;
  if (!RootKeyName(key).empty()) {
    target = {RootKeyName(key), "", KEY_ALL_ACCESS};
  } else {
    auto it = OpenKeys.find(key);
    if (it == OpenKeys.end()) return false;
    target = it->second;
  }
  std::string sub = subKey != nullptr ? subKey : "";
  failure = ERROR_BAD_PATHNAME;
  if (!sub.empty() && sub.front() == '\\') return false;
  while (!sub.empty() && sub.back() == '\\') sub.pop_back();
  if (!IsValidKeyPath(sub)) return false;
  target.Path = JoinPath(target.Path, sub);
  return true;
}

HKEY TRegistryApi::TState::AddHandle(TOpenKey key) {
  const HKEY handle = NextHandle;
  NextHandle += 4;
  OpenKeys[handle] = std::move(key);
  return handle;
}

LONG TRegistryApi::RegOpenKeyExA(HKEY key, const char* subKey, DWORD, REGSAM desired,
                                 HKEY* result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = 0;
  TOpenKey target;
  LONG failure;
  if (!state_->Resolve(key, subKey, target, failure)) return failure;
  TRegistryHive hive;
  if (state_->Folder.Load(target.RootName, hive) == TRegistryFolder::THiveState::Unreadable ||
      hive.FindKey(target.Path) == nullptr) {
    return ERROR_FILE_NOT_FOUND;
  }
  if ((desired & kWriteRights) != 0 && !state_->Folder.IsWritable(target.RootName)) {
    return ERROR_ACCESS_DENIED;
  }
  target.Access = desired;
  *result = state_->AddHandle(std::move(target));
  return ERROR_SUCCESS;
}

LONG TRegistryApi::RegCreateKeyExA(HKEY key, const char* subKey, DWORD, char*, DWORD,
                                   REGSAM desired, const void*, HKEY* result, DWORD* disposition) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = 0;
  TOpenKey target;
  LONG failure;
  if (!state_->Resolve(key, subKey, target, failure)) return failure;
  TRegistryHive hive;
  const bool exists =
      state_->Folder.Load(target.RootName, hive) == TRegistryFolder::THiveState::Loaded &&
      hive.FindKey(target.Path) != nullptr;
  bool created = false;
  if (!exists) {
    const LONG answer =
        state_->Folder.Update(target.RootName, [&](TRegistryHive& current, bool& changed) {
          current.CreateKey(target.Path, &created);
          changed = created;
          return ERROR_SUCCESS;
        });
    if (answer != ERROR_SUCCESS) return answer;
  }
  if ((desired & kWriteRights) != 0 && !state_->Folder.IsWritable(target.RootName)) {
    return ERROR_ACCESS_DENIED;
  }
  if (disposition != nullptr)
    *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  target.Access = desired;
  *result = state_->AddHandle(std::move(target));
  return ERROR_SUCCESS;
}

LONG TRegistryApi::RegQueryValueExA(HKEY key, const char* valueName, DWORD*, DWORD* type,
                                    BYTE* data, DWORD* dataSize) {
  TOpenKey target;
  LONG failure;
  if (!state_->Resolve(key, nullptr, target, failure)) return failure;
  if ((target.Access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (data != nullptr && dataSize == nullptr) return ERROR_INVALID_PARAMETER;
  TRegistryHive hive;
  if (state_->Folder.Load(target.RootName, hive) == TRegistryFolder::THiveState::Unreadable) {
    return ERROR_FILE_NOT_FOUND;
  }
  const TRegistryKey* found = hive.FindKey(target.Path);
  if (found == nullptr) return ERROR_KEY_DELETED;
  const TRegistryValue* value = found->FindValue(ValueNameOf(valueName));
  if (value == nullptr) return ERROR_FILE_NOT_FOUND;
  if (type != nullptr) *type = value->Type;
  const auto needed = static_cast<DWORD>(value->Data.size());
  if (data == nullptr) {
    if (dataSize != nullptr) *dataSize = needed;
    return ERROR_SUCCESS;
  }
  const bool fits = *dataSize >= needed;
  if (fits) std::memcpy(data, value->Data.data(), needed);
  *dataSize = needed;
  return fits ? ERROR_SUCCESS : ERROR_MORE_DATA;
}

LONG TRegistryApi::RegSetValueExA(HKEY key, const char* valueName, DWORD, DWORD type,
                                  const BYTE* data, DWORD dataSize) {
  TOpenKey target;
  LONG failure;
  if (!state_->Resolve(key, nullptr, target, failure)) return failure;
  if ((target.Access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  const std::string name = ValueNameOf(valueName);
  // A line break could not be written back into the registry file.
  if (name.find_first_of("\r\n") != std::string::npos) return ERROR_INVALID_PARAMETER;
  if (data == nullptr && dataSize != 0) return ERROR_INVALID_PARAMETER;
  std::string bytes(reinterpret_cast<const char*>(data), data != nullptr ? dataSize : 0);
  return state_->Folder.Update(target.RootName, [&](TRegistryHive& hive, bool& changed) {
    TRegistryKey* found = hive.FindKey(target.Path);
    if (found == nullptr) return ERROR_KEY_DELETED;
    found->SetValue(name, type, bytes);
    changed = true;
    return ERROR_SUCCESS;
  });
}

LONG TRegistryApi::RegDeleteValueA(HKEY key, const char* valueName) {
  TOpenKey target;
  LONG failure;
  if (!state_->Resolve(key, nullptr, target, failure)) return failure;
  if ((target.Access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  return state_->Folder.Update(target.RootName, [&](TRegistryHive& hive, bool& changed) {
    TRegistryKey* found = hive.FindKey(target.Path);
    if (found == nullptr) return ERROR_KEY_DELETED;
    changed = found->DeleteValue(ValueNameOf(valueName));
    return changed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
  });
}

LONG TRegistryApi::RegDeleteTreeA(HKEY key, const char* subKey) {
  TOpenKey target;
  LONG failure;
  if (!state_->Resolve(key, subKey, target, failure)) return failure;
  if ((target.Access & (KEY_DELETE | KEY_SET_VALUE)) == 0) return ERROR_ACCESS_DENIED;
  return state_->Folder.Update(target.RootName, [&](TRegistryHive& hive, bool& changed) {
    TRegistryKey* found = hive.FindKey(target.Path);
    if (found == nullptr) return ERROR_FILE_NOT_FOUND;
    if (subKey != nullptr && *subKey != '\0') {
      hive.DeleteKey(target.Path);
    } else {
      // The key stays; what lies in and below it goes.
      const TRegistryKey kept{found->Path, {}};
      hive.DeleteKey(target.Path);
      hive.CreateKey(kept.Path);
    }
    changed = true;
    return ERROR_SUCCESS;
  });
}

LONG TRegistryApi::RegCloseKey(HKEY key) {
  if (!RootKeyName(key).empty()) return ERROR_SUCCESS;
  return state_->OpenKeys.erase(key) != 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

}  // namespace pelmorix
