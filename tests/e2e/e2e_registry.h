#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pelmorix::e2e {

// A private registry folder, written and read only through the real reg tool, the way a
// person sets up an installation.
class TE2eRegistry {
 public:
  explicit TE2eRegistry(std::string folder);

  const std::string& Folder() const { return folder_; }

  // A string value of installation `id`: machine-wide (HKLM, "version", "folder", ...) or per
  // user (HKCU, "tempdir").
  void SetMachineValue(int id, const std::string& name, const std::string& value);
  void SetUserValue(int id, const std::string& name, const std::string& value);
  // The value as reg shows it, or nothing when the key or value is missing.
  std::optional<std::string> MachineValue(int id, const std::string& name);

  // Runs reg with the arguments; gives its output, throws when it fails.
  std::string Reg(const std::vector<std::string>& arguments);

  static std::string MachineKey(int id);

 private:
  std::string folder_;
};

}  // namespace pelmorix::e2e
