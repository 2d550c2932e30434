#include "platform/registry/registry_api.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/temp_folder.h"

namespace pelmorix {
namespace {

const BYTE* Bytes(const std::string& text) { return reinterpret_cast<const BYTE*>(text.data()); }

class RegistryApiTest : public ::testing::Test {
 protected:
  std::string HklmFile() const { return folder_ / "HKEY_LOCAL_MACHINE.reg"; }

  HKEY Create(const char* path) {
    HKEY key = 0;
    EXPECT_EQ(registry_.RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS,
                                        nullptr, &key, nullptr),
              ERROR_SUCCESS);
    return key;
  }

  LONG SetText(HKEY key, const char* name, const std::string& text) {
    return SetTextOn(registry_, key, name, text);
  }
  static LONG SetTextOn(TRegistryApi& registry, HKEY key, const char* name,
                        const std::string& text) {
    const std::string data = text + '\0';
    return registry.RegSetValueExA(key, name, 0, REG_SZ, Bytes(data),
                                   static_cast<DWORD>(data.size()));
  }

  TTempFolder folder_;
  TRegistryApi registry_{folder_.Path()};
};

TEST_F(RegistryApiTest, OpensCreatesQueriesAndSets) {
  HKEY key = 0;
  EXPECT_EQ(registry_.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\x", 0, KEY_READ, &key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, 0u);
  EXPECT_EQ(registry_.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "\\SOFTWARE", 0, KEY_READ, &key),
            ERROR_BAD_PATHNAME);

  DWORD disposition = 0;
  HKEY created = 0;
  ASSERT_EQ(registry_.RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\velkora\\tarnovia\\101", 0,
                                      nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  EXPECT_EQ(SetText(created, "Version", "1.2"), ERROR_SUCCESS);
  EXPECT_EQ(registry_.RegCloseKey(created), ERROR_SUCCESS);
  EXPECT_EQ(registry_.RegCloseKey(created), ERROR_INVALID_HANDLE);

  // A second object on the same folder sees the value; names ignore case.
  TRegistryApi other(folder_.Path());
  HKEY parent = 0;
  ASSERT_EQ(other.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "software\\VELKORA", 0, KEY_READ, &parent),
            ERROR_SUCCESS);
  ASSERT_EQ(other.RegOpenKeyExA(parent, "tarnovia\\101", 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0, size = 0;
  ASSERT_EQ(other.RegQueryValueExA(key, "VERSION", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 4u);
  BYTE buffer[8] = {};
  DWORD small = 2;
  EXPECT_EQ(other.RegQueryValueExA(key, "version", nullptr, &type, buffer, &small),
            ERROR_MORE_DATA);
  EXPECT_EQ(small, 4u);
  size = sizeof buffer;
  EXPECT_EQ(other.RegQueryValueExA(key, "version", nullptr, &type, buffer, &size), ERROR_SUCCESS);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), size), std::string("1.2") + '\0');
  EXPECT_EQ(other.RegQueryValueExA(key, "missing", nullptr, &type, nullptr, &size),
            ERROR_FILE_NOT_FOUND);
  // A key opened for reading cannot be written through.
  EXPECT_EQ(SetTextOn(other, key, "version", "2"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(other.RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\velkora\\tarnovia\\101", 0,
                                  nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);

  // Deleting the tree leaves the handles dangling: queries then say the key is gone.
  EXPECT_EQ(registry_.RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\velkora"), ERROR_SUCCESS);
  EXPECT_EQ(other.RegQueryValueExA(key, "version", nullptr, &type, nullptr, &size),
            ERROR_KEY_DELETED);
  EXPECT_EQ(SetTextOn(other, created, "version", "3"), ERROR_KEY_DELETED);
  EXPECT_EQ(registry_.RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\velkora"),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(registry_.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_READ, &key),
            ERROR_SUCCESS);
}

TEST_F(RegistryApiTest, DeletesValuesAndEmptiesKeys) {
  const HKEY key = Create("a\\b");
  Create("a\\b\\c");
  ASSERT_EQ(SetText(key, "one", "1"), ERROR_SUCCESS);
  ASSERT_EQ(SetText(key, nullptr, "default"), ERROR_SUCCESS);
  EXPECT_EQ(registry_.RegQueryValueExA(key, "", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(registry_.RegDeleteValueA(key, "ONE"), ERROR_SUCCESS);
  EXPECT_EQ(registry_.RegDeleteValueA(key, "one"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(registry_.RegDeleteTreeA(key, nullptr), ERROR_SUCCESS);
  HKEY probe = 0;
  EXPECT_EQ(registry_.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "a\\b", 0, KEY_READ, &probe),
            ERROR_SUCCESS);
  EXPECT_EQ(registry_.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "a\\b\\c", 0, KEY_READ, &probe),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(registry_.RegQueryValueExA(key, nullptr, nullptr, nullptr, nullptr, nullptr),
            ERROR_FILE_NOT_FOUND);
  // A name with a line break could not be stored in the file.
  EXPECT_EQ(SetText(key, "two\nlines", "x"), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryApiTest, ReadOnlyFileCanBeReadButNotOpenedForWriting) {
  const HKEY key = Create("SOFTWARE\\k");
  ASSERT_EQ(SetText(key, "v", "1"), ERROR_SUCCESS);
  ASSERT_EQ(chmod(HklmFile().c_str(), 0444), 0);
  const std::string before = ReadTextFile(HklmFile());

  HKEY probe = 0;
  EXPECT_EQ(registry_.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\k", 0, KEY_ALL_ACCESS, &probe),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(registry_.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\k", 0, KEY_READ, &probe),
            ERROR_SUCCESS);
  EXPECT_EQ(registry_.RegQueryValueExA(probe, "v", nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(SetText(key, "v", "2"), ERROR_ACCESS_DENIED);  // the handle from before as well
  HKEY created = 0;
  EXPECT_EQ(registry_.RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\new", 0, nullptr, 0,
                                      KEY_ALL_ACCESS, nullptr, &created, nullptr),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(ReadTextFile(HklmFile()), before);

  // The other root's file is separate; a read-only folder closes both.
  HKEY user = 0;
  EXPECT_EQ(registry_.RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\k", 0, nullptr, 0,
                                      KEY_ALL_ACCESS, nullptr, &user, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(chmod(folder_.Path().c_str(), 0555), 0);
  EXPECT_EQ(SetText(user, "v", "2"), ERROR_ACCESS_DENIED);
}

TEST_F(RegistryApiTest, FileThatDoesNotParseReadsAsMissingAndIsNeverRewritten) {
  const std::string broken =
      "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\k]\n"
      "\"v\"=\"1\"\nthis line is not registry text\n";
  WriteTextFile(HklmFile(), broken);
  HKEY key = 0;
  EXPECT_EQ(registry_.RegOpenKeyExA(HKEY_LOCAL_MACHINE, "k", 0, KEY_READ, &key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(registry_.RegQueryValueExA(HKEY_LOCAL_MACHINE, "", nullptr, nullptr, nullptr, nullptr),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(registry_.RegCreateKeyExA(HKEY_LOCAL_MACHINE, "k", 0, nullptr, 0, KEY_ALL_ACCESS,
                                      nullptr, &key, nullptr),
            ERROR_BADDB);
  EXPECT_EQ(SetText(HKEY_LOCAL_MACHINE, "v", "2"), ERROR_BADDB);
  EXPECT_EQ(ReadTextFile(HklmFile()), broken);
}

}  // namespace
}  // namespace pelmorix
