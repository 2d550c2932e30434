#pragma once

#include <cstdint>
#include <string>

#include "platform/registry/registry_api.h"

namespace pelmorix {

// The installations the launcher knows, by their registry keys "SOFTWARE\velkora\tarnovia\<id>",
// and the three pieces of state that name installations. Every routine swallows registry
// failures and answers with an empty text; only the integer conversion of the id text in
// GetLauncherVersion and GetAffiliateId travels to the caller.
class TInstallationSettings {
 public:
  explicit TInstallationSettings(TRegistryApi& registry);

  // The installation the launcher serves.
  int32_t InstallationId = -1;
  // The installation whose key ReadSetting and WriteSetting use; callers set it right before.
  int32_t SelectedInstallation = -1;
  // The command-line form of the id, such as "/101".
  std::string InstallationIdText;

  // A string value of the selected installation (machine-wide); empty on any failure.
  std::string ReadSetting(const std::string& name);
  // Stores a string value in the selected installation's key, but only when that key exists
  // and may be written; failures are ignored.
  void WriteSetting(const std::string& name, const std::string& value);
  // False when the selected installation's key exists but refuses full access, so that
  // WriteSetting would skip it; a missing key is no refusal.
  bool MayWriteSettings();
  // The per-user "tempdir" of installation n, else the current directory followed by "\".
  std::string GetImageFolder(int32_t n);
  // InstallationIdText without its first character; "101" when it is empty.
  std::string GetIdText() const;
  // "starterversion" and "affid" of the installation named by GetIdText; both select it.
  std::string GetLauncherVersion();
  std::string GetAffiliateId();
  // "&v<id>=<version>" for every installation 101 to 300 that has a version, ascending.
  std::string BuildVersionList();

 private:
  std::string ReadSettingOfIdText(const std::string& name);

  TRegistryApi& registry_;
};

}  // namespace pelmorix
