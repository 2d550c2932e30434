// The argv recorder as a Windows program: records its working directory and its arguments in
// the file "<own path>.record", so that a test can see exactly how the launcher started it.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/support/argv_record.h"

int main(int argc, char** argv) {
  char self[MAX_PATH], cwd[MAX_PATH];
  const DWORD length = ::GetModuleFileNameA(nullptr, self, sizeof self);
  if (length == 0 || length >= sizeof self || ::GetCurrentDirectoryA(sizeof cwd, cwd) == 0) {
    return 2;
  }
  pelmorix::TArgvRecord record;
  record.WorkingDirectory = cwd;
  record.Arguments.assign(argv + 1, argv + argc);
  const std::string path = std::string(self, length) + ".record";
  {
    std::ofstream out(path + ".part", std::ios::binary);
    out << pelmorix::EncodeArgvRecord(record);
  }
  // Renamed whole, so a reader never sees half a record.
  return ::MoveFileExA((path + ".part").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 3;
}
