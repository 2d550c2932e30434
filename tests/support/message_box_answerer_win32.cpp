#include "tests/support/message_box_answerer.h"

#include <windows.h>

namespace pelmorix::test {

namespace {

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM data) {
  auto& box = *reinterpret_cast<TAnsweredBox*>(data);
  char name[32] = {};
  ::GetClassNameA(child, name, sizeof name);
  if (lstrcmpiA(name, "Static") != 0 || !::IsWindowVisible(child)) return TRUE;
  if ((::GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    if (::SendMessageA(child, STM_GETICON, 0, 0) != 0) box.HasIcon = true;
  } else {
    char text[512] = {};
    ::GetWindowTextA(child, text, sizeof text);
    box.Text += text;
  }
  return TRUE;
}

BOOL CALLBACK DescribeVisibleWindow(HWND window, LPARAM data) {
  if (!::IsWindowVisible(window)) return TRUE;
  char name[64] = {};
  char caption[128] = {};
  ::GetClassNameA(window, name, sizeof name);
  ::GetWindowTextA(window, caption, sizeof caption);
  auto& seen = *reinterpret_cast<std::string*>(data);
  seen += std::string(seen.empty() ? "" : ", ") + name + " '" + caption + "'";
  return TRUE;
}

HWND WaitForBox(const std::string& caption) {
  const ULONGLONG end = ::GetTickCount64() + 20000;
  while (::GetTickCount64() < end) {
    HWND box = ::FindWindowA("#32770", caption.c_str());
    if (box && ::IsWindowVisible(box)) return box;
    ::Sleep(20);
  }
  return nullptr;
}

}  // namespace

TBoxAnswerer::TBoxAnswerer(std::string caption, int answer)
    : thread_([this, caption = std::move(caption), answer] {
        HWND box = WaitForBox(caption);
        if (!box) {
          ::EnumWindows(DescribeVisibleWindow, reinterpret_cast<LPARAM>(&result_.Seen));
          if (result_.Seen.empty()) result_.Seen = "no visible window";
          return;
        }
        result_.Found = true;
        ::EnumChildWindows(box, ReadBoxChild, reinterpret_cast<LPARAM>(&result_));
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(box, answer)));
      }) {}

TBoxAnswerer::~TBoxAnswerer() {
  if (thread_.joinable()) thread_.join();
}

const TAnsweredBox& TBoxAnswerer::Result() {
  if (thread_.joinable()) thread_.join();
  return result_;
}

}  // namespace pelmorix::test
