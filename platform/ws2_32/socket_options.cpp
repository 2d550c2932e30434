#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <cstring>

#include "platform/ws2_32/library_state.h"
#include "platform/ws2_32/socket_calls.h"
#include "platform/ws2_32/system_calls.h"

// setsockopt with WinSock levels, option numbers and value layouts.

namespace pelmorix::ws2 {
namespace {

struct TWinSockLinger {
  uint16_t l_onoff;
  uint16_t l_linger;
};

int SetPosixOption(int fd, int level, int option, const void* value, socklen_t length) {
  if (SystemCalls().SetSockOpt(fd, level, option, value, length) != 0) return FailFromErrno();
  return 0;
}

int SetIntegerOption(int fd, int level, int option, const char* value, int length) {
  if (length < static_cast<int>(sizeof(int32_t))) return Fail(WSAEFAULT);
  int32_t number;
  std::memcpy(&number, value, sizeof(number));
  const int posixValue = number;
  return SetPosixOption(fd, level, option, &posixValue, sizeof(posixValue));
}

// WinSock time-outs are a count of milliseconds.
int SetTimeoutOption(int fd, int option, const char* value, int length) {
  if (length < static_cast<int>(sizeof(uint32_t))) return Fail(WSAEFAULT);
  uint32_t milliseconds;
  std::memcpy(&milliseconds, value, sizeof(milliseconds));
  timeval time{static_cast<time_t>(milliseconds / 1000),
               static_cast<suseconds_t>((milliseconds % 1000) * 1000)};
  return SetPosixOption(fd, SOL_SOCKET, option, &time, sizeof(time));
}

int SetLingerOption(int fd, const char* value, int length) {
  if (length < static_cast<int>(sizeof(TWinSockLinger))) return Fail(WSAEFAULT);
  TWinSockLinger winsock;
  std::memcpy(&winsock, value, sizeof(winsock));
  linger posix{winsock.l_onoff != 0 ? 1 : 0, winsock.l_linger};
  return SetPosixOption(fd, SOL_SOCKET, SO_LINGER, &posix, sizeof(posix));
}

int SetSocketLevelOption(int fd, int option, const char* value, int length) {
  switch (option) {
    case WS_SO_REUSEADDR:
      return SetIntegerOption(fd, SOL_SOCKET, SO_REUSEADDR, value, length);
    case WS_SO_KEEPALIVE:
      return SetIntegerOption(fd, SOL_SOCKET, SO_KEEPALIVE, value, length);
    case WS_SO_BROADCAST:
      return SetIntegerOption(fd, SOL_SOCKET, SO_BROADCAST, value, length);
    case WS_SO_SNDBUF:
      return SetIntegerOption(fd, SOL_SOCKET, SO_SNDBUF, value, length);
    case WS_SO_RCVBUF:
      return SetIntegerOption(fd, SOL_SOCKET, SO_RCVBUF, value, length);
    case WS_SO_SNDTIMEO:
      return SetTimeoutOption(fd, SO_SNDTIMEO, value, length);
    case WS_SO_RCVTIMEO:
      return SetTimeoutOption(fd, SO_RCVTIMEO, value, length);
    case WS_SO_LINGER:
      return SetLingerOption(fd, value, length);
    default:
      return Fail(WSAENOPROTOOPT);
  }
}

}  // namespace

int SetSockOpt(SOCKET s, int level, int option, const char* value, int length) {
  int fd;
  if (!Started() || !ToDescriptor(s, fd)) return SOCKET_ERROR;
  if (value == nullptr) return Fail(WSAEFAULT);
  if (level == WS_SOL_SOCKET) return SetSocketLevelOption(fd, option, value, length);
  if (level == WS_IPPROTO_TCP && option == WS_TCP_NODELAY) {
    return SetIntegerOption(fd, IPPROTO_TCP, TCP_NODELAY, value, length);
  }
  return Fail(WSAENOPROTOOPT);
}

}  // namespace pelmorix::ws2
