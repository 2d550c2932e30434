#pragma once

#include <cstdint>
#include <string>

namespace pelmorix {

// The C library's file calls under one set of names, so that the file stream is written once
// for every system. A handle is a C library file descriptor; every file is opened in binary
// mode and is not inherited by started programs. Failures answer -1 (or false).
enum class TFileAccess { kRead, kWrite, kReadWrite };

// Opens an existing file (a folder is not a file and fails).
int OpenFileHandle(const std::string& path, TFileAccess access);
// Creates a file for reading and writing, or empties an existing one.
int CreateFileHandle(const std::string& path);
void CloseFileHandle(int handle);
// Up to count bytes; 0 at the end of the file.
int64_t ReadFileHandle(int handle, void* buffer, int64_t count);
int64_t WriteFileHandle(int handle, const void* buffer, int64_t count);
// origin: SEEK_SET, SEEK_CUR or SEEK_END. Answers the new position.
int64_t SeekFileHandle(int handle, int64_t offset, int origin);
// Whether the handle is a regular file (a device or a pipe has no size to set).
bool IsRegularFileHandle(int handle);
bool SetFileHandleSize(int handle, int64_t size);

}  // namespace pelmorix
