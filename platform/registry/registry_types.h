#pragma once

#include <cstdint>
#include <string>

#include "platform/windows_types.h"

namespace pelmorix {

// The registry's value types, handles, access masks and answer codes, with their Windows values.
using HKEY = uintptr_t;
using REGSAM = DWORD;
using LONG = int32_t;
using BYTE = uint8_t;

constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_DELETE = 0x00010000;
constexpr REGSAM KEY_WRITE_DAC = 0x00040000;
constexpr REGSAM KEY_WRITE_OWNER = 0x00080000;
constexpr REGSAM KEY_READ = 0x00020019;
constexpr REGSAM KEY_WRITE = 0x00020006;
constexpr REGSAM KEY_ALL_ACCESS = 0x000F003F;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;

constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_BAD_PATHNAME = 161;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_BADDB = 1009;
constexpr LONG ERROR_KEY_DELETED = 1018;

// "HKEY_LOCAL_MACHINE" and "HKEY_CURRENT_USER"; the empty text for any other handle.
std::string RootKeyName(HKEY root);
// The root of a full name such as "HKEY_CURRENT_USER" (either case); 0 for any other name.
HKEY RootKeyOfName(const std::string& name);

}  // namespace pelmorix
