#pragma once

#include <string>
#include <thread>

namespace pelmorix::test {

// A message box as another thread (of this or another program) sees it: found by its caption
// and read.
struct TAnsweredBox {
  bool Found = false;
  std::string Text;
  bool HasIcon = false;
  // When no box came: the visible top-level windows at the end of the wait, as "class 'caption'"
  // items, so a failure says what was on the desktop instead.
  std::string Seen;
};

// Windows only (the system's boxes are found by their window class). Waits on a thread of its
// own (up to 20 s) for a visible box with the caption and presses its button `answer` (IDOK,
// IDYES, IDNO); Result() waits for that thread.
class TBoxAnswerer {
 public:
  TBoxAnswerer(std::string caption, int answer);
  ~TBoxAnswerer();
  TBoxAnswerer(const TBoxAnswerer&) = delete;
  TBoxAnswerer& operator=(const TBoxAnswerer&) = delete;
  const TAnsweredBox& Result();

 private:
  std::thread thread_;
  TAnsweredBox result_;
};

}  // namespace pelmorix::test
