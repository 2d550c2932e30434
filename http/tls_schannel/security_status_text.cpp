#include <cstdio>

#include "http/tls_schannel/schannel_api.h"

namespace pelmorix {
namespace {

// The names of the statuses a handshake or a record most often fails with, for systems (wine)
// that have no texts for them.
const char* StatusName(SECURITY_STATUS status) {
  switch (status) {
    case SEC_E_INTERNAL_ERROR:
      return "SEC_E_INTERNAL_ERROR";
    case SEC_E_ILLEGAL_MESSAGE:
      return "SEC_E_ILLEGAL_MESSAGE";
    case SEC_E_ALGORITHM_MISMATCH:
      return "SEC_E_ALGORITHM_MISMATCH";
    case SEC_E_INVALID_TOKEN:
      return "SEC_E_INVALID_TOKEN";
    case SEC_E_DECRYPT_FAILURE:
      return "SEC_E_DECRYPT_FAILURE";
    case SEC_E_MESSAGE_ALTERED:
      return "SEC_E_MESSAGE_ALTERED";
    case SEC_E_UNSUPPORTED_FUNCTION:
      return "SEC_E_UNSUPPORTED_FUNCTION";
    case SEC_E_SECPKG_NOT_FOUND:
      return "SEC_E_SECPKG_NOT_FOUND";
    case SEC_E_INSUFFICIENT_MEMORY:
      return "SEC_E_INSUFFICIENT_MEMORY";
    default:
      return nullptr;
  }
}

}  // namespace

std::string SecurityStatusText(SECURITY_STATUS status) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result(text != nullptr ? text : "", length);
  LocalFree(text);
  // The system's texts end in a full stop and a line break; the message goes on after them.
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r' ||
                             result.back() == ' ' || result.back() == '.')) {
    result.pop_back();
  }
  if (!result.empty()) return result;
  char number[32];
  std::snprintf(number, sizeof number, "error 0x%08lX", static_cast<unsigned long>(status));
  const char* name = StatusName(status);
  return name != nullptr ? std::string(number) + " (" + name + ")" : number;
}

}  // namespace pelmorix
