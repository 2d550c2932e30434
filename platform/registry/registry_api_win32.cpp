#include "platform/registry/registry_api.h"

#include <set>

// After the interface: the system header's macros of the same names (HKEY_LOCAL_MACHINE,
// KEY_READ, ERROR_SUCCESS, ...) carry the same values and must not rewrite its declarations.
#include <windows.h>

namespace pelmorix {
namespace {

// The predefined roots are 32-bit values that the system widens with their sign (0x80000002
// becomes 0xFFFFFFFF80000002 in a 64-bit program); every other key is a handle the system
// gave out, passed through as it is.
::HKEY SystemKey(HKEY key) {
  if (!RootKeyName(key).empty()) {
    return reinterpret_cast<::HKEY>(static_cast<intptr_t>(static_cast<int32_t>(key)));
  }
  return reinterpret_cast<::HKEY>(key);
}

HKEY KeyOf(::HKEY key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

// The games' installers are 32-bit programs, so the machine-wide keys they write lie in the
// registry's 32-bit view, which a 64-bit program reaches only by asking for it on every open,
// create and delete below HKEY_LOCAL_MACHINE, and below each key opened there. The current
// user's keys need no view: their Software key is shared by both.
struct TRegistryApi::TState {
  std::set<HKEY> machineKeys;  // open keys of the 32-bit view

  // The root is taken by name, as this file's HKEY_LOCAL_MACHINE is the system's macro; it is
  // compared in the system's form, which a caller may also pass.
  REGSAM ViewBelow(HKEY key) const {
    const bool machine = SystemKey(key) == SystemKey(RootKeyOfName("HKEY_LOCAL_MACHINE")) ||
                         machineKeys.count(key) != 0;
    return machine ? KEY_WOW64_32KEY : 0;
  }
};

TRegistryApi::TRegistryApi() : state_(std::make_unique<TState>()) {}

TRegistryApi::~TRegistryApi() = default;

LONG TRegistryApi::RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM desired,
                                 HKEY* result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  const REGSAM view = state_->ViewBelow(key);
  ::HKEY opened = nullptr;
  const LONG answer = ::RegOpenKeyExA(SystemKey(key), subKey, options, desired | view, &opened);
  *result = answer == ERROR_SUCCESS ? KeyOf(opened) : 0;
  if (answer == ERROR_SUCCESS && view != 0) state_->machineKeys.insert(*result);
  return answer;
}

LONG TRegistryApi::RegCreateKeyExA(HKEY key, const char* subKey, DWORD reserved, char* keyClass,
                                   DWORD options, REGSAM desired, const void* security,
                                   HKEY* result, DWORD* disposition) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  const REGSAM view = state_->ViewBelow(key);
  ::HKEY created = nullptr;
  ::DWORD how = 0;
  const LONG answer = ::RegCreateKeyExA(
      SystemKey(key), subKey, reserved, keyClass, options, desired | view,
      static_cast<SECURITY_ATTRIBUTES*>(const_cast<void*>(security)), &created, &how);
  *result = answer == ERROR_SUCCESS ? KeyOf(created) : 0;
  if (answer == ERROR_SUCCESS && view != 0) state_->machineKeys.insert(*result);
  if (answer == ERROR_SUCCESS && disposition != nullptr) *disposition = how;
  return answer;
}

LONG TRegistryApi::RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type,
                                    BYTE* data, DWORD* dataSize) {
  if (reserved != nullptr) return ERROR_INVALID_PARAMETER;
  // The system's DWORD is another integer type of the same width.
  ::DWORD kind = 0, size = dataSize != nullptr ? *dataSize : 0;
  const LONG answer = ::RegQueryValueExA(SystemKey(key), valueName, nullptr, &kind, data,
                                         dataSize != nullptr ? &size : nullptr);
  if (type != nullptr && (answer == ERROR_SUCCESS || answer == ERROR_MORE_DATA)) *type = kind;
  if (dataSize != nullptr) *dataSize = size;
  return answer;
}

LONG TRegistryApi::RegSetValueExA(HKEY key, const char* valueName, DWORD reserved, DWORD type,
                                  const BYTE* data, DWORD dataSize) {
  return ::RegSetValueExA(SystemKey(key), valueName, reserved, type, data, dataSize);
}

LONG TRegistryApi::RegDeleteValueA(HKEY key, const char* valueName) {
  return ::RegDeleteValueA(SystemKey(key), valueName);
}

LONG TRegistryApi::RegDeleteTreeA(HKEY key, const char* subKey) {
  const REGSAM view = state_->ViewBelow(key);
  if (view == 0 || subKey == nullptr || *subKey == '\0') {
    return ::RegDeleteTreeA(SystemKey(key), subKey);
  }
  // The system's tree deletion takes no view: the sub-key is opened in the view, emptied
  // through its handle, and then deleted itself in the view.
  ::HKEY opened = nullptr;
  LONG answer = ::RegOpenKeyExA(SystemKey(key), subKey, 0, KEY_ALL_ACCESS | view, &opened);
  if (answer != ERROR_SUCCESS) return answer;
  answer = ::RegDeleteTreeA(opened, nullptr);
  ::RegCloseKey(opened);
  if (answer != ERROR_SUCCESS) return answer;
  return ::RegDeleteKeyExA(SystemKey(key), subKey, view, 0);
}

LONG TRegistryApi::RegCloseKey(HKEY key) {
  state_->machineKeys.erase(key);
  return ::RegCloseKey(SystemKey(key));
}

}  // namespace pelmorix
