#pragma once

#include <string>

namespace pelmorix {

// The file operations the launcher uses, with the meaning of their Windows namesakes. Paths may
// use "\" as separator; nothing else in them is rewritten. Every operation answers success or
// failure and raises nothing.

// Creates one directory; fails when it exists or its parent does not.
bool CreateDir(const std::string& path);
// Creates the file, or empties it when it exists.
bool CreateOrEmptyFile(const std::string& path);
// Removes a file (not a directory).
bool DeleteFile(const std::string& path);
// Moves a file or directory to a new name. Like MoveFile, this fails when the new name already
// exists; a file moves across file systems too.
bool RenameFile(const std::string& from, const std::string& to);
// True for an existing file that is not a directory.
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// The current directory, with no trailing separator (except for "/" itself).
std::string GetCurrentDir();
bool SetCurrentDir(const std::string& path);

// Full path of the running executable.
std::string GetModuleFileName();

}  // namespace pelmorix
