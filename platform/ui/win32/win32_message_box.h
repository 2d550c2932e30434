#pragma once

#include "platform/ui/message_box.h"
#include "platform/ui/win32/win32_api.h"

namespace pelmorix {

// Message boxes as the system's modal MessageBoxA boxes.
class TWin32MessageBoxHost : public TMessageBoxHost {
 public:
  int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override;

  // The window the boxes are owned by (none: they belong to the task).
  void SetParent(::HWND parent) { parent_ = parent; }
  ::HWND Parent() const { return parent_; }

 private:
  ::HWND parent_ = nullptr;
};

}  // namespace pelmorix
