// argument_writer.exe FILE [ARGUMENT...]: writes its working folder and then each argument after
// FILE, one a line, to FILE (relative to the working folder), so a test can see how it was
// started. It uses the system calls only, as a program that the shell starts would.
#include <windows.h>

#include <string>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  char folder[MAX_PATH] = {};
  ::GetCurrentDirectoryA(sizeof folder, folder);
  std::string text = std::string(folder) + "\n";
  for (int i = 2; i < argc; ++i) text += std::string(argv[i]) + "\n";
  // Written under another name first, so the test never reads half a record.
  const std::string partial = std::string(argv[1]) + ".partial";
  const HANDLE file = ::CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const bool ok =
      ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0 &&
      written == text.size();
  ::CloseHandle(file);
  return ok && ::MoveFileExA(partial.c_str(), argv[1], MOVEFILE_REPLACE_EXISTING) != 0 ? 0 : 1;
}
