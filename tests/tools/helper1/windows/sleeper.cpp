// helper1_sleeper.exe MS: runs for MS milliseconds and ends, as a launcher that is closing.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  ::Sleep(static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)));
  return 0;
}
