#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/registry/registry_api.h"
#include "tests/support/temp_folder.h"
// After the interface: the system's macros must not rewrite its declarations. Below, the
// interface's roots are taken by name, as the macros of the same names are the system's.
#include <windows.h>

#include "tests/support/windows_program.h"

namespace {

// The text of a value as the system itself reads it, past the interface: machine-wide in the
// 32-bit view, where the games' installers keep their keys. Outside the project's namespace,
// where the root macros name the system's own key type.
std::string SystemText(const std::string& rootName, const std::string& path, const char* name) {
  const bool user = rootName == "HKEY_CURRENT_USER";
  const HKEY root = user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  const DWORD flags = RRF_RT_REG_SZ | (user ? 0 : RRF_SUBKEY_WOW6432KEY);
  char text[64] = {};
  DWORD size = sizeof text;
  if (::RegGetValueA(root, path.c_str(), name, flags, nullptr, text, &size) != 0) {
    return "<missing>";
  }
  return text;
}

}  // namespace

namespace pelmorix {
namespace {

const BYTE* Bytes(const std::string& text) { return reinterpret_cast<const BYTE*>(text.data()); }

// A round trip through the private wine prefix's registry, in both roots the launcher uses.
TEST(RegistryWin32, CreatesSetsQueriesAndDeletesInBothRoots) {
  const std::string path =
      "SOFTWARE\\velkora\\tarnovia-test-" + std::to_string(::GetCurrentProcessId());
  for (const char* rootName : {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"}) {
    SCOPED_TRACE(rootName);
    const HKEY root = RootKeyOfName(rootName);
    TRegistryApi registry;
    HKEY key = 0;
    EXPECT_EQ(registry.RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, 0u);

    DWORD disposition = 0;
    ASSERT_EQ(registry.RegCreateKeyExA(root, (path + "\\101").c_str(), 0, nullptr, 0,
                                       KEY_ALL_ACCESS, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    const std::string version = std::string("1.4 \xe4") + '\0';  // Windows-1252 text
    EXPECT_EQ(registry.RegSetValueExA(key, "version", 0, REG_SZ, Bytes(version),
                                      static_cast<DWORD>(version.size())),
              ERROR_SUCCESS);
    EXPECT_EQ(registry.RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(SystemText(rootName, path + "\\101", "version"), "1.4 \xe4");

    ASSERT_EQ(registry.RegOpenKeyExA(root, (path + "\\101").c_str(), 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    EXPECT_EQ(registry.RegQueryValueExA(key, "version", nullptr, &type, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, version.size());
    BYTE small[2];
    size = sizeof small;
    EXPECT_EQ(registry.RegQueryValueExA(key, "version", nullptr, &type, small, &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, version.size());
    std::string data(size, 'x');
    EXPECT_EQ(registry.RegQueryValueExA(key, "version", nullptr, &type,
                                        reinterpret_cast<BYTE*>(data.data()), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(data, version);
    EXPECT_EQ(registry.RegQueryValueExA(key, "missing", nullptr, &type, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    // A key opened for reading takes no value.
    EXPECT_EQ(registry.RegSetValueExA(key, "exe", 0, REG_SZ, Bytes(version),
                                      static_cast<DWORD>(version.size())),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(registry.RegCloseKey(key), ERROR_SUCCESS);

    EXPECT_EQ(registry.RegDeleteTreeA(root, path.c_str()), ERROR_SUCCESS);
    EXPECT_EQ(registry.RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  }
}

struct TRegRun {
  long ExitCode;
  std::string Output;
};

// The system's own reg.exe, the way a person or a 32-bit installer's script writes a key.
TRegRun RunReg(const std::vector<std::string>& arguments) {
  TTempFolder scratch;
  char system[MAX_PATH] = {};
  ::GetSystemDirectoryA(system, sizeof system);
  TWindowsProgram reg({.Program = std::string(system) + "\\reg.exe",
                       .Arguments = arguments,
                       .WorkingDirectory = scratch.Path(),
                       .Environment = {},
                       .OutputFile = scratch / "reg.out"});
  const long code = reg.WaitForExit(60);
  return {code, code == -1 ? "reg.exe did not end within 60 s" : ReadTextFile(scratch / "reg.out")};
}

// A 64-bit program sees the installers' keys only in the 32-bit view: there the interface
// reads, writes and deletes every machine-wide key, also through a handle it opened there,
// and a value that only the 64-bit view holds is not taken.
TEST(RegistryWin32, MachineKeysAreThoseOfThe32BitView) {
  const std::string path =
      "SOFTWARE\\velkora\\tarnovia-view-" + std::to_string(::GetCurrentProcessId());
  const std::string name = "HKLM\\" + path;
  struct TRemoveBothViews {
    std::string name;
    ~TRemoveBothViews() {
      RunReg({"delete", name, "/f", "/reg:32"});
      RunReg({"delete", name, "/f", "/reg:64"});
    }
  } removeBothViews{name};
  TRegRun run =
      RunReg({"add", name + "\\101", "/v", "folder", "/d", "C:\\Games\\Karo", "/f", "/reg:32"});
  ASSERT_EQ(run.ExitCode, 0) << run.Output;
  run = RunReg({"add", name + "\\101", "/v", "exe", "/d", "karo64.exe", "/f", "/reg:64"});
  ASSERT_EQ(run.ExitCode, 0) << run.Output;

  const HKEY machine = RootKeyOfName("HKEY_LOCAL_MACHINE");
  TRegistryApi registry;
  HKEY parent = 0, key = 0;
  ASSERT_EQ(registry.RegOpenKeyExA(machine, path.c_str(), 0, KEY_READ, &parent), ERROR_SUCCESS);
  ASSERT_EQ(registry.RegOpenKeyExA(parent, "101", 0, KEY_READ, &key), ERROR_SUCCESS);
  char text[64] = {};
  DWORD type = 0, size = sizeof text;
  EXPECT_EQ(registry.RegQueryValueExA(key, "folder", nullptr, &type, reinterpret_cast<BYTE*>(text),
                                      &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(text, "C:\\Games\\Karo");
  EXPECT_EQ(registry.RegQueryValueExA(key, "exe", nullptr, &type, nullptr, &size),
            ERROR_FILE_NOT_FOUND);
  registry.RegCloseKey(key);
  registry.RegCloseKey(parent);

  ASSERT_EQ(registry.RegCreateKeyExA(machine, (path + "\\101").c_str(), 0, nullptr, 0,
                                     KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const std::string version = std::string("1.5") + '\0';
  EXPECT_EQ(registry.RegSetValueExA(key, "version", 0, REG_SZ, Bytes(version),
                                    static_cast<DWORD>(version.size())),
            ERROR_SUCCESS);
  registry.RegCloseKey(key);
  run = RunReg({"query", name + "\\101", "/v", "version", "/reg:32"});
  EXPECT_EQ(run.ExitCode, 0) << run.Output;
  EXPECT_NE(run.Output.find("1.5"), std::string::npos) << run.Output;
  run = RunReg({"query", name + "\\101", "/v", "version", "/reg:64"});
  EXPECT_NE(run.ExitCode, 0) << "the 64-bit view took the version:\n" << run.Output;

  EXPECT_EQ(registry.RegDeleteTreeA(machine, path.c_str()), ERROR_SUCCESS);
  run = RunReg({"query", name, "/reg:32"});
  EXPECT_NE(run.ExitCode, 0) << "the 32-bit key is left:\n" << run.Output;
  run = RunReg({"query", name + "\\101", "/v", "exe", "/reg:64"});
  EXPECT_EQ(run.ExitCode, 0) << "the 64-bit key went too:\n" << run.Output;
}

}  // namespace
}  // namespace pelmorix
