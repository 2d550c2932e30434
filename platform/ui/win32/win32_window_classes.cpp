#include "platform/ui/win32/win32_window_classes.h"

#include "base/exception.h"

namespace pelmorix {

namespace {

void RegisterOneClass(const char* name, WNDPROC procedure, HICON icon) {
  WNDCLASSEXA window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.style = CS_DBLCLKS;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = ::GetModuleHandleA(nullptr);
  window_class.hIcon = icon;
  window_class.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  window_class.lpszClassName = name;
  if (!::RegisterClassExA(&window_class) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw Exception(std::string("Cannot register the window class ") + name);
}

}  // namespace

void RegisterWindowClasses(WNDPROC procedure) {
  HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
  if (!icon) icon = ::LoadIconA(nullptr, IDI_APPLICATION);
  RegisterOneClass(kFormClass, procedure, icon);
  RegisterOneClass(kPanelClass, procedure, nullptr);
  RegisterOneClass(kFaceClass, procedure, nullptr);
}

}  // namespace pelmorix
