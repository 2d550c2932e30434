// A stand-in for a started program: records its working directory and its arguments in the
// file "<own path>.record", so that a test can see exactly how it was started. With
// PELMORIX_RECORDER_DELAY_MS set it waits that long first, to show that it outlives its starter.
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "tests/support/argv_record.h"

int main(int argc, char** argv) {
  if (const char* delay = getenv("PELMORIX_RECORDER_DELAY_MS")) {
    std::this_thread::sleep_for(std::chrono::milliseconds(atoi(delay)));
  }
  char self[4096], cwd[4096];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0 || getcwd(cwd, sizeof cwd) == nullptr) return 2;
  pelmorix::TArgvRecord record;
  record.WorkingDirectory = cwd;
  record.Arguments.assign(argv + 1, argv + argc);
  const std::string path = std::string(self, static_cast<size_t>(length)) + ".record";
  {
    std::ofstream out(path + ".part", std::ios::binary);
    out << pelmorix::EncodeArgvRecord(record);
  }
  return std::rename((path + ".part").c_str(), path.c_str()) == 0 ? 0 : 3;
}
