#include "tests/e2e/windows/installation_registry.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <stdexcept>

namespace pelmorix::e2e {
namespace {

std::string KeyPath(int id) { return "SOFTWARE\\velkora\\tarnovia\\" + std::to_string(id); }

// The games' installers are 32-bit programs: their machine-wide keys lie in the registry's
// 32-bit view. The current user's Software key is the same in both views.
REGSAM ViewOf(HKEY root) { return root == HKEY_LOCAL_MACHINE ? KEY_WOW64_32KEY : 0; }

void DeleteKey(HKEY root, int id) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, KeyPath(id).c_str(), 0, KEY_ALL_ACCESS | ViewOf(root), &key) !=
      ERROR_SUCCESS) {
    return;
  }
  ::RegDeleteTreeA(key, nullptr);
  ::RegCloseKey(key);
  ::RegDeleteKeyExA(root, KeyPath(id).c_str(), ViewOf(root), 0);
}

void SetValue(HKEY root, int id, const std::string& name, const std::string& value) {
  HKEY key = nullptr;
  LONG result = ::RegCreateKeyExA(root, KeyPath(id).c_str(), 0, nullptr, 0,
                                  KEY_SET_VALUE | ViewOf(root), nullptr, &key, nullptr);
  if (result == ERROR_SUCCESS) {
    result =
        ::RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(key);
  }
  if (result != ERROR_SUCCESS) {
    throw std::runtime_error("registry value " + KeyPath(id) + "\\" + name +
                             " not written: error " + std::to_string(result));
  }
}

}  // namespace

TInstallationRegistry::~TInstallationRegistry() {
  for (int id : ids_) {
    DeleteKey(HKEY_LOCAL_MACHINE, id);
    DeleteKey(HKEY_CURRENT_USER, id);
  }
}

// A test that died left its keys behind; the next one starts without them.
void TInstallationRegistry::ForgetEarlierKeys(int id) {
  if (!ids_.insert(id).second) return;
  DeleteKey(HKEY_LOCAL_MACHINE, id);
  DeleteKey(HKEY_CURRENT_USER, id);
}

void TInstallationRegistry::SetMachineValue(int id, const std::string& name,
                                            const std::string& value) {
  ForgetEarlierKeys(id);
  SetValue(HKEY_LOCAL_MACHINE, id, name, value);
}

void TInstallationRegistry::SetUserValue(int id, const std::string& name,
                                         const std::string& value) {
  ForgetEarlierKeys(id);
  SetValue(HKEY_CURRENT_USER, id, name, value);
}

std::optional<std::string> TInstallationRegistry::MachineValue(int id,
                                                               const std::string& name) const {
  char value[1024];
  DWORD size = sizeof value;
  if (::RegGetValueA(HKEY_LOCAL_MACHINE, KeyPath(id).c_str(), name.c_str(),
                     RRF_RT_REG_SZ | RRF_SUBKEY_WOW6432KEY, nullptr, value,
                     &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(value);
}

}  // namespace pelmorix::e2e
