#pragma once

#include "platform/ui/win32/win32_api.h"
// After the system's window headers, which it needs.
#include <oleauto.h>

#include <string>

namespace pelmorix {

// The browser control speaks UTF-16; the system's texts are single-byte in the system code
// page. Characters without a form there become the code page's default character.
std::string AnsiFromWide(const wchar_t* text, size_t length);
// A null BSTR is the empty text.
std::string AnsiFromBstr(BSTR text);
std::wstring WideFromAnsi(const std::string& text);

// A BSTR owned here: freed when it goes.
class TBstr {
 public:
  TBstr() = default;
  explicit TBstr(const std::string& text);
  ~TBstr() { ::SysFreeString(text_); }
  TBstr(const TBstr&) = delete;
  TBstr& operator=(const TBstr&) = delete;

  BSTR Get() const { return text_; }
  // The slot for an out argument; it must be empty.
  BSTR* Put() { return &text_; }
  std::string Ansi() const { return AnsiFromBstr(text_); }

 private:
  BSTR text_ = nullptr;
};

}  // namespace pelmorix
