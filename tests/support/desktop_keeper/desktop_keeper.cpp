// desktop_keeper.exe READY_FILE: keeps wine's desktop in use for a whole test run.
//
// Wine's desktop process (explorer.exe /desktop) ends a second after the last program on the
// desktop has ended, and the next program that needs a window starts it again, handing it its
// own error output. When that program is a test under CTest, CTest waits for that output to be
// closed, so the test seems to run on until the desktop is idle again, which can be the end of
// the whole run. Started before the tests with its output elsewhere, this program makes the
// desktop process, writes READY_FILE once the desktop is there and then waits until it is ended.
#include <windows.h>

#include <fstream>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  if (::GetDesktopWindow() == nullptr) return 1;
  std::ofstream(argv[1]) << "ready\n";
  ::Sleep(INFINITE);
  return 0;
}
