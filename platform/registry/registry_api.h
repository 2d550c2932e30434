#pragma once

#include <memory>
#include <string>

#include "platform/registry/registry_folder.h"
#include "platform/registry/registry_types.h"

namespace pelmorix {

// The registry functions of Windows. The Windows build calls the system's own (advapi32); the
// Linux build keeps the registry in the files of one folder. There each object keeps its own
// open handles; the files are the shared state, so several objects and processes may work on
// one folder at once. Every query reads the current file, as a Windows key shows other
// processes' changes at once. On Windows every machine-wide key is one of the registry's 32-bit
// view, where the games' 32-bit installers keep them; the Linux files have no views.
//
// Sub-key names are relative to the given key, parts separated by "\"; a leading "\" is
// ERROR_BAD_PATHNAME, as on Windows. A value name of nullptr or "" is the key's default value.
// Answers are the Windows error codes: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND for a missing key or
// value and for a file that does not parse, ERROR_ACCESS_DENIED, ERROR_MORE_DATA, ...
class TRegistryApi {
 public:
  TRegistryApi();  // the system's registry; on Linux the folder of TRegistryFolder::DefaultFolder
  // Linux only: the registry files of the given folder.
  explicit TRegistryApi(std::string folder);
  ~TRegistryApi();
  TRegistryApi(const TRegistryApi&) = delete;
  TRegistryApi& operator=(const TRegistryApi&) = delete;

  // Opens an existing key. Write access (KEY_SET_VALUE, KEY_CREATE_SUB_KEY, KEY_DELETE, ...)
  // also needs a writable root (TRegistryFolder::IsWritable).
  LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM desired, HKEY* result);
  // Opens the key, or creates it with every missing key above it.
  LONG RegCreateKeyExA(HKEY key, const char* subKey, DWORD reserved, char* keyClass, DWORD options,
                       REGSAM desired, const void* security, HKEY* result, DWORD* disposition);
  // Type and data of a value. With data == nullptr only the type and the size are answered; a
  // buffer smaller than the data gives ERROR_MORE_DATA and the size needed.
  LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data,
                        DWORD* dataSize);
  // Stores the bytes as given; for a string the caller includes the terminating NUL.
  LONG RegSetValueExA(HKEY key, const char* valueName, DWORD reserved, DWORD type, const BYTE* data,
                      DWORD dataSize);
  LONG RegDeleteValueA(HKEY key, const char* valueName);
  // Deletes the sub-key with everything below it; with subKey == nullptr the key's values and
  // sub-keys, but not the key itself.
  LONG RegDeleteTreeA(HKEY key, const char* subKey);
  LONG RegCloseKey(HKEY key);

  // Linux only: the folder that holds the registry files.
  const TRegistryFolder& Folder() const;

 private:
  // What the implementation keeps between calls (on Linux the folder and the open handles).
  struct TState;
  std::unique_ptr<TState> state_;
};

}  // namespace pelmorix
