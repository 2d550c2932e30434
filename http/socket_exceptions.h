#pragma once

#include <cstdint>
#include <string>

#include "http/id_exception.h"

namespace pelmorix {

// A failed socket call: the message is the stack's error text, the number the WinSock error.
class EIdSocketError : public EIdException {
 public:
  EIdSocketError(int32_t lastError, std::string message)
      : EIdException(std::move(message)), lastError_(lastError) {}
  int32_t LastError() const { return lastError_; }
  const char* ClassName() const noexcept override { return "EIdSocketError"; }

 private:
  int32_t lastError_;
};

// The socket library could not be loaded, or a function of it was called while it is not.
class EIdWS2StubError : public EIdException {
 public:
  EIdWS2StubError(std::string title, uint32_t win32Error, std::string win32ErrorText)
      : EIdException(win32Error == 0 ? title : title + ": " + win32ErrorText),
        title_(std::move(title)),
        win32Error_(win32Error),
        win32ErrorText_(std::move(win32ErrorText)) {}
  const std::string& Title() const { return title_; }
  uint32_t Win32Error() const { return win32Error_; }
  const std::string& Win32ErrorText() const { return win32ErrorText_; }
  const char* ClassName() const noexcept override { return "EIdWS2StubError"; }

 private:
  std::string title_;
  uint32_t win32Error_;
  std::string win32ErrorText_;
};

PELMORIX_DECLARE_EXCEPTION(EIdStackError, EIdException);
PELMORIX_DECLARE_EXCEPTION(EIdStackInitializationFailed, EIdStackError);
PELMORIX_DECLARE_EXCEPTION(EIdStackSetSizeExceeded, EIdStackError);
PELMORIX_DECLARE_EXCEPTION(EIdInvalidIPAddress, EIdStackError);
PELMORIX_DECLARE_EXCEPTION(EIdSocketHandleError, EIdException);
PELMORIX_DECLARE_EXCEPTION(EIdCouldNotBindSocket, EIdSocketHandleError);
PELMORIX_DECLARE_EXCEPTION(EIdInvalidPortRange, EIdSocketHandleError);
PELMORIX_DECLARE_EXCEPTION(EIdCanNotBindPortInRange, EIdSocketHandleError);
PELMORIX_DECLARE_EXCEPTION(EIdInvalidSocket, EIdException);
PELMORIX_DECLARE_EXCEPTION(EIdInvalidServiceName, EIdException);
// The peer closed the connection and the data asked for is not buffered.
PELMORIX_DECLARE_EXCEPTION(EIdConnClosedGracefully, EIdSilentException);

}  // namespace pelmorix
