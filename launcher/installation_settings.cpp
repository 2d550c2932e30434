#include "launcher/installation_settings.h"

#include <vector>

#include "base/convert.h"
#include "platform/files/files.h"

namespace pelmorix {
namespace {

// The key of an installation below its root ("\SOFTWARE\velkora\tarnovia\<n>" as an absolute
// name; the registry functions take it without the leading "\").
std::string InstallationKey(int32_t n) { return "SOFTWARE\\velkora\\tarnovia\\" + IntToStr(n); }

// A value of the two string kinds as text up to its first NUL. False when the key is not open,
// the value is missing or empty, or of another type.
bool ReadText(TRegistryApi& registry, HKEY key, const std::string& name, std::string& text) {
  DWORD type = REG_NONE, size = 0;
  if (registry.RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) !=
          ERROR_SUCCESS ||
      size == 0) {
    return false;
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  std::vector<BYTE> data(size);
  if (registry.RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &size) !=
      ERROR_SUCCESS) {
    return false;
  }
  const std::string bytes(data.begin(), data.begin() + size);
  text = bytes.substr(0, bytes.find('\0'));
  return true;
}

// Whether the key can be opened with full access; the probe is closed again at once.
bool HasFullAccess(TRegistryApi& registry, HKEY root, const std::string& path) {
  HKEY probe = 0;
  if (registry.RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &probe) != ERROR_SUCCESS) {
    return false;
  }
  registry.RegCloseKey(probe);
  return true;
}

}  // namespace

TInstallationSettings::TInstallationSettings(TRegistryApi& registry) : registry_(registry) {}

std::string TInstallationSettings::ReadSetting(const std::string& name) {
  HKEY key = 0;
  // A key that does not open leaves the handle empty, and the query then fails.
  registry_.RegOpenKeyExA(HKEY_LOCAL_MACHINE, InstallationKey(SelectedInstallation).c_str(), 0,
                          KEY_READ, &key);
  std::string result;
  if (!ReadText(registry_, key, name, result)) result.clear();
  if (key != 0) registry_.RegCloseKey(key);
  return result;
}

void TInstallationSettings::WriteSetting(const std::string& name, const std::string& value) {
  const std::string path = InstallationKey(SelectedInstallation);
  if (!HasFullAccess(registry_, HKEY_LOCAL_MACHINE, path)) return;
  HKEY key = 0;
  if (registry_.RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  const std::string data = value + '\0';
  registry_.RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size()));
  registry_.RegCloseKey(key);
}

bool TInstallationSettings::MayWriteSettings() {
  HKEY key = 0;
  const LONG answer = registry_.RegOpenKeyExA(
      HKEY_LOCAL_MACHINE, InstallationKey(SelectedInstallation).c_str(), 0, KEY_ALL_ACCESS, &key);
  if (answer == ERROR_SUCCESS) registry_.RegCloseKey(key);
  return answer != ERROR_ACCESS_DENIED;
}

std::string TInstallationSettings::GetImageFolder(int32_t n) {
  const std::string path = InstallationKey(n);
  std::string result;
  if (HasFullAccess(registry_, HKEY_CURRENT_USER, path)) {
    HKEY key = 0;
    if (registry_.RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) ==
        ERROR_SUCCESS) {
      if (!ReadText(registry_, key, "tempdir", result)) result.clear();
      registry_.RegCloseKey(key);
    }
  }
  return result.empty() ? GetCurrentDir() + "\\" : result;
}

std::string TInstallationSettings::GetIdText() const {
  return InstallationIdText.empty() ? "101" : InstallationIdText.substr(1);
}

std::string TInstallationSettings::ReadSettingOfIdText(const std::string& name) {
  SelectedInstallation = StrToInt(GetIdText());
  return ReadSetting(name);
}

std::string TInstallationSettings::GetLauncherVersion() {
  return ReadSettingOfIdText("starterversion");
}

std::string TInstallationSettings::GetAffiliateId() { return ReadSettingOfIdText("affid"); }

std::string TInstallationSettings::BuildVersionList() {
  std::string result;
  for (int32_t n = 101; n <= 300; ++n) {
    SelectedInstallation = n;
    const std::string version = ReadSetting("version");
    if (!version.empty()) result += "&v" + IntToStr(n) + "=" + version;
  }
  return result;
}

}  // namespace pelmorix
