#pragma once

#include <optional>
#include <set>
#include <string>

namespace pelmorix::e2e {

// The installations' keys in the real registry (the wine prefix's), written and read through
// the system's registry calls, as the 32-bit installer of a game leaves them: the machine-wide
// values in the registry's 32-bit view. Each key an object writes starts empty and is removed
// again when the object goes.
class TInstallationRegistry {
 public:
  TInstallationRegistry() = default;
  ~TInstallationRegistry();
  TInstallationRegistry(const TInstallationRegistry&) = delete;
  TInstallationRegistry& operator=(const TInstallationRegistry&) = delete;

  // A string value of installation `id`: machine-wide (HKLM: "folder", "exe", "version", ...)
  // or per user (HKCU: "tempdir").
  void SetMachineValue(int id, const std::string& name, const std::string& value);
  void SetUserValue(int id, const std::string& name, const std::string& value);
  // The machine-wide value, or nothing when the key or value is missing.
  std::optional<std::string> MachineValue(int id, const std::string& name) const;

 private:
  void ForgetEarlierKeys(int id);
  std::set<int> ids_;
};

}  // namespace pelmorix::e2e
