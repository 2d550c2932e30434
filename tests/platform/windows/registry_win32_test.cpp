#include <gtest/gtest.h>

#include <string>

#include "platform/registry/registry_api.h"
// After the interface: the system's macros must not rewrite its declarations. Below, the
// interface's roots are taken by name, as the macros of the same names are the system's.
#include <windows.h>

namespace {

// The text of a value as the system itself reads it, past the interface. Outside the project's
// namespace, where the root macros name the system's own key type.
std::string SystemText(const std::string& rootName, const std::string& path, const char* name) {
  const HKEY root = rootName == "HKEY_CURRENT_USER" ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  char text[64] = {};
  DWORD size = sizeof text;
  if (::RegGetValueA(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != 0) {
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

}  // namespace
}  // namespace pelmorix
