#include "platform/browser/win32/ole_text.h"

#include "platform/ui/win32/win32_api.h"

#include <climits>

#include "base/exception.h"

namespace pelmorix {

std::string AnsiFromWide(const wchar_t* text, size_t length) {
  if (length == 0) return {};
  if (length > INT_MAX) throw Exception("The browser's text is too long");
  const int wide_length = static_cast<int>(length);
  const int size =
      ::WideCharToMultiByte(CP_ACP, 0, text, wide_length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) throw Exception("The browser's text cannot be converted to the system code page");
  std::string result(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text, wide_length, result.data(), size, nullptr, nullptr);
  return result;
}

std::string AnsiFromBstr(BSTR text) {
  return text ? AnsiFromWide(text, ::SysStringLen(text)) : std::string();
}

std::wstring WideFromAnsi(const std::string& text) {
  if (text.empty()) return {};
  if (text.size() > INT_MAX) throw Exception("The text for the browser is too long");
  const int length = static_cast<int>(text.size());
  const int size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (size <= 0) throw Exception("The text for the browser cannot be converted to UTF-16");
  std::wstring result(static_cast<size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, result.data(), size);
  return result;
}

TBstr::TBstr(const std::string& text) {
  const std::wstring wide = WideFromAnsi(text);
  text_ = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  if (!text_) throw Exception("Out of memory for a text of the browser");
}

}  // namespace pelmorix
