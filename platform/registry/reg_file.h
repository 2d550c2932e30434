#pragma once

#include <string>
#include <vector>

#include "platform/registry/registry_hive.h"

namespace pelmorix {

// One value line of a registry file: a value to set, or to delete ("name"=-).
struct TRegFileValue {
  std::string Name;
  bool Delete = false;
  DWORD Type = REG_NONE;
  std::string Data;
};

// One "[ROOT\path]" section with its value lines, or a "[-ROOT\path]" deletion.
struct TRegFileSection {
  std::string RootName;
  std::string Path;
  bool DeleteKey = false;
  std::vector<TRegFileValue> Values;
};

// Reads the registry export format. The file is UTF-8 (a byte-order mark is skipped), or UTF-16LE
// with its byte-order mark as the Windows editor writes it, and starts
// with "Windows Registry Editor Version 5.00" or "REGEDIT4"; after that, blank lines, comments
// (";"), section lines "[ROOT\key\path]" or "[-ROOT\key\path]", and value lines:
//   "name"="text"   with \\ and \" inside the quotes     @=... sets the default value
//   "name"=dword:0000002a   "name"=hex:01,ff   "name"=hex(N):..   "name"=-
// Hex data may continue on the next line after a trailing "\". In a version 5 file the data of
// the text types (hex(1), hex(2), hex(7)) is UTF-16LE, in a REGEDIT4 file single-byte. Names and
// texts come back as Windows-1252. False, with the line number in error, on the first line that
// does not fit.
bool ParseRegFile(const std::string& content, std::vector<TRegFileSection>& sections,
                  std::string* error = nullptr);

// Applies the sections of one root to a hive: keys created or deleted, values set or deleted.
void ApplyRegFileSections(const std::vector<TRegFileSection>& sections, const std::string& rootName,
                          TRegistryHive& hive);

// The whole hive in the version 5 format, every key a section, parents before children.
std::string WriteRegFile(const std::string& rootName, const TRegistryHive& hive);

}  // namespace pelmorix
