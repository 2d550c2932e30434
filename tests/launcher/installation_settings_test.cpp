#include "launcher/installation_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "base/codepage.h"
#include "base/convert.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_folder.h"

namespace pelmorix {
namespace {

class InstallationSettingsTest : public ::testing::Test {
 protected:
  // Stores a value of any type under root\SOFTWARE\velkora\tarnovia\<n>.
  void Store(HKEY root, int n, const std::string& name, DWORD type, const std::string& data) {
    HKEY key = 0;
    const std::string path = "SOFTWARE\\velkora\\tarnovia\\" + std::to_string(n);
    ASSERT_EQ(registry_.RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                        &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(registry_.RegSetValueExA(key, name.c_str(), 0, type,
                                       reinterpret_cast<const BYTE*>(data.data()),
                                       static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
    registry_.RegCloseKey(key);
  }
  void StoreText(HKEY root, int n, const std::string& name, const std::string& text) {
    Store(root, n, name, REG_SZ, text + '\0');
  }

  TTempFolder folder_;
  TRegistryApi registry_{folder_.Path()};
  TInstallationSettings settings_{registry_};
};

TEST_F(InstallationSettingsTest, StartsWithNothingSelected) {
  EXPECT_EQ(settings_.InstallationId, -1);
  EXPECT_EQ(settings_.SelectedInstallation, -1);
  EXPECT_EQ(settings_.InstallationIdText, "");
  EXPECT_EQ(settings_.BuildVersionList(), "");
  EXPECT_EQ(settings_.SelectedInstallation, 300);
}

TEST_F(InstallationSettingsTest, VersionListTakesTheStringKindsOnly) {
  StoreText(HKEY_LOCAL_MACHINE, 101, "version", "1.2");
  StoreText(HKEY_LOCAL_MACHINE, 205, "version", "3");
  Store(HKEY_LOCAL_MACHINE, 150, "version", REG_BINARY, "9.9");
  StoreText(HKEY_LOCAL_MACHINE, 160, "version", "");
  StoreText(HKEY_LOCAL_MACHINE, 300, "other", "x");
  StoreText(HKEY_LOCAL_MACHINE, 100, "version", "outside");
  StoreText(HKEY_CURRENT_USER, 102, "version", "per user");
  EXPECT_EQ(settings_.BuildVersionList(), "&v101=1.2&v205=3");
  EXPECT_EQ(settings_.SelectedInstallation, 300);

  // Expandable strings count, unexpanded; a text ends at its first NUL.
  Store(HKEY_LOCAL_MACHINE, 250, "version", REG_EXPAND_SZ, std::string("%V%\0", 4));
  Store(HKEY_LOCAL_MACHINE, 101, "version", REG_SZ, std::string("1.4\0junk", 8));
  EXPECT_EQ(settings_.BuildVersionList(), "&v101=1.4&v205=3&v250=%V%");
}

TEST_F(InstallationSettingsTest, ReadsWhatTheRegToolSetUp) {
  const TProgramResult added =
      RunProgram({PELMORIX_BIN_DIR "/reg", "add", "HKLM\\SOFTWARE\\velkora\\tarnovia\\101", "/v",
                  "folder", "/d", "C:\\Spiele\\Tarnovia Grün", "/f"},
                 {{"PELMORIX_REGISTRY", folder_.Path()}});
  ASSERT_EQ(added.ExitCode, 0) << added.Err;
  settings_.SelectedInstallation = 101;
  EXPECT_EQ(settings_.ReadSetting("folder"), Utf8ToCp1252("C:\\Spiele\\Tarnovia Grün"));
  EXPECT_EQ(settings_.ReadSetting("FOLDER"), Utf8ToCp1252("C:\\Spiele\\Tarnovia Grün"));
  EXPECT_EQ(settings_.ReadSetting("exe"), "");
  settings_.SelectedInstallation = 102;
  EXPECT_EQ(settings_.ReadSetting("folder"), "");
}

TEST_F(InstallationSettingsTest, WritesOnlyIntoExistingWritableKeys) {
  StoreText(HKEY_LOCAL_MACHINE, 101, "version", "1.0");
  settings_.SelectedInstallation = 101;
  settings_.WriteSetting("version", "1.1 \"neu\" " + Utf8ToCp1252("ä"));
  EXPECT_EQ(settings_.ReadSetting("version"), "1.1 \"neu\" " + Utf8ToCp1252("ä"));
  DWORD type = 0;
  HKEY key = 0;
  ASSERT_EQ(registry_.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\velkora\\tarnovia\\101", 0,
                                    KEY_READ, &key),
            ERROR_SUCCESS);
  EXPECT_EQ(registry_.RegQueryValueExA(key, "version", nullptr, &type, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);

  // An installation without a key gets none.
  settings_.SelectedInstallation = 102;
  settings_.WriteSetting("version", "2");
  EXPECT_EQ(registry_.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\velkora\\tarnovia\\102", 0,
                                    KEY_READ, &key),
            ERROR_FILE_NOT_FOUND);

  // A read-only machine-wide file: reads work, the write changes nothing and says nothing.
  const std::string file = folder_ / "HKEY_LOCAL_MACHINE.reg";
  ASSERT_EQ(chmod(file.c_str(), 0444), 0);
  const std::string before = ReadTextFile(file);
  settings_.SelectedInstallation = 101;
  EXPECT_NO_THROW(settings_.WriteSetting("version", "9"));
  EXPECT_EQ(ReadTextFile(file), before);
  EXPECT_EQ(settings_.ReadSetting("version"), "1.1 \"neu\" " + Utf8ToCp1252("ä"));
}

TEST_F(InstallationSettingsTest, ImageFolderIsTempdirOrTheCurrentDirectory) {
  TCurrentDirectory current(folder_.Path());
  const std::string fallback = folder_.Path() + "\\";
  EXPECT_EQ(settings_.GetImageFolder(101), fallback);
  StoreText(HKEY_CURRENT_USER, 101, "other", "x");
  EXPECT_EQ(settings_.GetImageFolder(101), fallback);
  StoreText(HKEY_CURRENT_USER, 101, "tempdir", "C:\\Cache\\");
  StoreText(HKEY_CURRENT_USER, 102, "tempdir", "/var/cache/pelmorix");
  StoreText(HKEY_LOCAL_MACHINE, 103, "tempdir", "machine-wide does not count");
  EXPECT_EQ(settings_.GetImageFolder(101), "C:\\Cache\\");
  EXPECT_EQ(settings_.GetImageFolder(102), "/var/cache/pelmorix");  // used as stored
  EXPECT_EQ(settings_.GetImageFolder(103), fallback);
  // The per-user key must be open to full access, else the current directory is used.
  const std::string file = folder_ / "HKEY_CURRENT_USER.reg";
  ASSERT_EQ(chmod(file.c_str(), 0444), 0);
  EXPECT_EQ(settings_.GetImageFolder(101), fallback);
}

TEST_F(InstallationSettingsTest, IdTextAndTheSettingsItNames) {
  EXPECT_EQ(settings_.GetIdText(), "101");
  settings_.InstallationIdText = "/205";
  EXPECT_EQ(settings_.GetIdText(), "205");
  settings_.InstallationIdText = "x7";
  EXPECT_EQ(settings_.GetIdText(), "7");
  settings_.InstallationIdText = "/";
  EXPECT_EQ(settings_.GetIdText(), "");

  StoreText(HKEY_LOCAL_MACHINE, 101, "affid", "0");
  StoreText(HKEY_LOCAL_MACHINE, 205, "affid", "17");
  StoreText(HKEY_LOCAL_MACHINE, 205, "starterversion", "7");
  settings_.InstallationIdText = "";
  EXPECT_EQ(settings_.GetAffiliateId(), "0");
  EXPECT_EQ(settings_.SelectedInstallation, 101);
  settings_.InstallationIdText = "/205";
  EXPECT_EQ(settings_.GetAffiliateId(), "17");
  EXPECT_EQ(settings_.GetLauncherVersion(), "7");
  EXPECT_EQ(settings_.SelectedInstallation, 205);

  settings_.InstallationIdText = "/abc";
  settings_.SelectedInstallation = 150;
  try {
    settings_.GetLauncherVersion();
    ADD_FAILURE() << "no conversion error";
  } catch (const EConvertError& error) {
    EXPECT_EQ(error.Message(), Utf8ToCp1252("'abc' ist kein gültiger Integerwert"));
  }
  EXPECT_EQ(settings_.SelectedInstallation, 150);
  settings_.InstallationIdText = "/";
  EXPECT_THROW(settings_.GetAffiliateId(), EConvertError);
  EXPECT_EQ(settings_.SelectedInstallation, 150);
}

}  // namespace
}  // namespace pelmorix
