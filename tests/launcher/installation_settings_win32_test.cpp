// The write probe's look at the installation's key against the system's registry under wine,
// whose keys keep the rights their security descriptor gives.
#include <gtest/gtest.h>

#include <string>

#include "launcher/installation_settings.h"
// After the interface: the system's macros must not rewrite its declarations.
#include <windows.h>
// After the system's main header, which it needs.
#include <sddl.h>

namespace {

// Gives the key the rights an SDDL text names (for everyone), through the system's own call.
bool SetKeyRights(HKEY key, const char* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor,
                                                              nullptr)) {
    return false;
  }
  const LONG answer = ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
  ::LocalFree(descriptor);
  return answer == ERROR_SUCCESS;
}

// An installation key in the 32-bit view, where the games' installers write theirs, held open
// with full rights so that its rights can be given back before it is deleted.
class TInstallationKey {
 public:
  explicit TInstallationKey(int id) : path_("SOFTWARE\\velkora\\tarnovia\\" + std::to_string(id)) {
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, 0,
                      KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key_, nullptr);
  }
  ~TInstallationKey() {
    if (key_ == nullptr) return;
    SetKeyRights(key_, "D:(A;;KA;;;WD)");
    ::RegCloseKey(key_);
    ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, path_.c_str(), KEY_WOW64_32KEY, 0);
  }
  TInstallationKey(const TInstallationKey&) = delete;
  TInstallationKey& operator=(const TInstallationKey&) = delete;
  HKEY Key() const { return key_; }
  bool HasValue(const char* name) const {
    return ::RegQueryValueExA(key_, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  }

 private:
  std::string path_;
  HKEY key_ = nullptr;
};

}  // namespace

namespace pelmorix {
namespace {

TEST(InstallationSettingsWin32, OnlyAKeyThatRefusesWritingFailsTheProbe) {
  const int id = 100000 + static_cast<int>(::GetCurrentProcessId() % 100000);
  TRegistryApi registry;
  TInstallationSettings settings(registry);
  settings.SelectedInstallation = id;
  EXPECT_TRUE(settings.MayWriteSettings()) << "a missing key refused";

  TInstallationKey installation(id);
  ASSERT_NE(installation.Key(), nullptr);
  EXPECT_TRUE(settings.MayWriteSettings());
  // A standard user's rights on a key that an installer made as administrator: read only.
  ASSERT_TRUE(SetKeyRights(installation.Key(), "D:P(A;;KR;;;WD)"));
  EXPECT_FALSE(settings.MayWriteSettings()) << "the key refused nothing";
  settings.WriteSetting("version", "2.0");
  EXPECT_FALSE(installation.HasValue("version"));
  EXPECT_EQ(settings.ReadSetting("version"), "");
}

}  // namespace
}  // namespace pelmorix
