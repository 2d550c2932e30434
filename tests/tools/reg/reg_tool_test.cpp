#include <gtest/gtest.h>

#include "base/codepage.h"
#include "platform/registry/registry_folder.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_folder.h"

namespace pelmorix {
namespace {

constexpr const char* kNotFound =
    "ERROR: The system was unable to find the specified registry key or value.\n";
constexpr const char* kDone = "The operation completed successfully.\n";

class RegToolTest : public ::testing::Test {
 protected:
  TProgramResult Reg(std::vector<std::string> arguments, const std::string& input = "") {
    arguments.insert(arguments.begin(), PELMORIX_BIN_DIR "/reg");
    return RunProgram(arguments, {{"PELMORIX_REGISTRY", folder_.Path()}}, input);
  }

  TTempFolder folder_;
};

TEST_F(RegToolTest, AddsAndQueriesInTheWindowsLayout) {
  const std::string key = "HKLM\\SOFTWARE\\velkora\\tarnovia\\101";
  EXPECT_EQ(Reg({"add", key, "/v", "version", "/d", "1.2", "/f"}).Out, kDone);
  EXPECT_EQ(Reg({"ADD", key, "/V", "folder", "/D", "C:\\Spiele\\Grün", "/F"}).ExitCode, 0);
  EXPECT_EQ(Reg({"add", key, "/v", "raw", "/t", "REG_BINARY", "/d", "01aF", "/f"}).ExitCode, 0);
  EXPECT_EQ(Reg({"add", key, "/v", "path", "/t", "REG_EXPAND_SZ", "/d", "%TEMP%", "/f"}).ExitCode,
            0);
  EXPECT_EQ(Reg({"add", key + "\\sub", "/f"}).ExitCode, 0);

  const TProgramResult query =
      Reg({"query", "HKEY_LOCAL_MACHINE\\SOFTWARE\\velkora\\tarnovia\\101"});
  EXPECT_EQ(query.ExitCode, 0);
  EXPECT_EQ(query.Out,
            "\n"
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\velkora\\tarnovia\\101\n"
            "    version    REG_SZ    1.2\n"
            "    folder    REG_SZ    C:\\Spiele\\Grün\n"
            "    raw    REG_BINARY    01AF\n"
            "    path    REG_EXPAND_SZ    %TEMP%\n"
            "\n"
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\velkora\\tarnovia\\101\\sub\n");
  EXPECT_EQ(Reg({"query", key, "/v", "FOLDER"}).Out,
            "\nHKEY_LOCAL_MACHINE\\SOFTWARE\\velkora\\tarnovia\\101\n"
            "    folder    REG_SZ    C:\\Spiele\\Grün\n\n");

  // The value is stored as Windows-1252 text.
  TRegistryHive hive;
  ASSERT_EQ(TRegistryFolder(folder_.Path()).Load("HKEY_LOCAL_MACHINE", hive),
            TRegistryFolder::THiveState::Loaded);
  EXPECT_EQ(hive.FindKey("SOFTWARE\\velkora\\tarnovia\\101")->FindValue("folder")->Data,
            Utf8ToCp1252("C:\\Spiele\\Grün") + '\0');

  // Overwriting without /f asks; only a yes overwrites.
  const TProgramResult refused = Reg({"add", key, "/v", "version", "/d", "9"}, "n\n");
  EXPECT_EQ(refused.ExitCode, 1);
  EXPECT_EQ(refused.Out,
            "Value version exists, overwrite(Yes/No)? The operation was canceled by the user.\n");
  EXPECT_EQ(Reg({"add", key, "/v", "version", "/d", "2.0"}, "yes\n").ExitCode, 0);
  EXPECT_EQ(
      Reg({"query", key, "/v", "version"}).Out,
      "\nHKEY_LOCAL_MACHINE\\SOFTWARE\\velkora\\tarnovia\\101\n    version    REG_SZ    2.0\n\n");
}

TEST_F(RegToolTest, MissingKeysAndValuesAndBadCommandLines) {
  TProgramResult result = Reg({"query", "HKCU\\SOFTWARE\\nothing"});
  EXPECT_EQ(result.ExitCode, 1);
  EXPECT_EQ(result.Err, kNotFound);
  EXPECT_EQ(Reg({"add", "HKCU\\SOFTWARE\\k", "/v", "a", "/d", "1", "/f"}).ExitCode, 0);
  result = Reg({"query", "HKCU\\SOFTWARE\\k", "/v", "b"});
  EXPECT_EQ(result.ExitCode, 1);
  EXPECT_EQ(result.Err, kNotFound);
  EXPECT_EQ(Reg({"delete", "HKCU\\SOFTWARE\\k", "/v", "b", "/f"}).Err, kNotFound);
  EXPECT_EQ(Reg({"delete", "HKCU\\SOFTWARE\\gone", "/f"}).Err, kNotFound);

  result = Reg({"query", "HKXX\\SOFTWARE"});
  EXPECT_EQ(result.ExitCode, 1);
  EXPECT_EQ(result.Err, "ERROR: Invalid key name.\nType \"REG QUERY /?\" for usage.\n");
  result = Reg({"add", "HKCU\\k", "/t", "REG_WEIRD", "/f"});
  EXPECT_EQ(result.ExitCode, 1);
  EXPECT_EQ(result.Err, "ERROR: Invalid syntax.\nType \"REG ADD /?\" for usage.\n");
  EXPECT_EQ(Reg({"add", "HKCU\\k", "/t", "REG_BINARY", "/d", "abc", "/f"}).ExitCode, 1);
  EXPECT_EQ(Reg({"query", "HKCU\\k", "/f"}).ExitCode, 1);  // /f belongs to add and delete
  EXPECT_EQ(Reg({}).Err, "ERROR: Invalid syntax.\nType \"REG /?\" for usage.\n");
}

TEST_F(RegToolTest, DeletesValuesAndKeys) {
  EXPECT_EQ(Reg({"add", "HKLM\\SOFTWARE\\a\\b", "/v", "x", "/d", "1", "/f"}).ExitCode, 0);
  EXPECT_EQ(Reg({"add", "HKLM\\SOFTWARE\\a\\b", "/v", "y", "/d", "2", "/f"}).ExitCode, 0);
  EXPECT_EQ(Reg({"delete", "HKLM\\SOFTWARE\\a\\b", "/v", "x", "/f"}).Out, kDone);
  EXPECT_EQ(Reg({"query", "HKLM\\SOFTWARE\\a\\b"}).Out,
            "\nHKEY_LOCAL_MACHINE\\SOFTWARE\\a\\b\n    y    REG_SZ    2\n\n");
  const TProgramResult asked = Reg({"delete", "HKLM\\SOFTWARE\\a"}, "no\n");
  EXPECT_EQ(asked.Out,
            "Permanently delete the registry key HKLM\\SOFTWARE\\a (Yes/No)? The operation was "
            "canceled by the user.\n");
  EXPECT_EQ(Reg({"query", "HKLM\\SOFTWARE\\a\\b"}).ExitCode, 0);
  EXPECT_EQ(Reg({"delete", "HKLM\\SOFTWARE\\a"}, "y\n").ExitCode, 0);
  EXPECT_EQ(Reg({"query", "HKLM\\SOFTWARE\\a\\b"}).ExitCode, 1);
  EXPECT_EQ(Reg({"query", "HKLM\\SOFTWARE"}).Out, "\n");
}

TEST_F(RegToolTest, ImportsRegistryFilesForBothRoots) {
  EXPECT_EQ(Reg({"add", "HKLM\\SOFTWARE\\old", "/f"}).ExitCode, 0);
  const std::string file = folder_ / "setup.reg";
  WriteTextFile(file,
                "Windows Registry Editor Version 5.00\r\n\r\n"
                "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\old]\r\n\r\n"
                "[HKEY_LOCAL_MACHINE\\SOFTWARE\\velkora\\tarnovia\\205]\r\n"
                "\"version\"=\"3\"\r\n"
                "\"affid\"=\"17\"\r\n\r\n"
                "[HKEY_CURRENT_USER\\SOFTWARE\\velkora\\tarnovia\\205]\r\n"
                "\"tempdir\"=\"C:\\\\Cache\\\\\"\r\n");
  EXPECT_EQ(Reg({"import", file}).Out, kDone);
  EXPECT_EQ(Reg({"query", "HKLM\\SOFTWARE\\old"}).ExitCode, 1);
  EXPECT_EQ(Reg({"query", "HKLM\\SOFTWARE\\velkora\\tarnovia\\205", "/v", "affid"}).ExitCode, 0);
  EXPECT_EQ(Reg({"query", "HKCU\\SOFTWARE\\velkora\\tarnovia\\205"}).Out,
            "\nHKEY_CURRENT_USER\\SOFTWARE\\velkora\\tarnovia\\205\n"
            "    tempdir    REG_SZ    C:\\Cache\\\n\n");

  WriteTextFile(file, "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\x]\nbroken\n");
  EXPECT_EQ(Reg({"import", file}).ExitCode, 1);
  EXPECT_EQ(Reg({"query", "HKLM\\x"}).ExitCode, 1);  // nothing of a broken file is applied
  EXPECT_EQ(Reg({"import", folder_ / "missing.reg"}).ExitCode, 1);
}

}  // namespace
}  // namespace pelmorix
