#include <fcntl.h>
#include <sys/ioctl.h>

#include "platform/ws2_32/library_state.h"
#include "platform/ws2_32/socket_calls.h"

// ioctlsocket: the blocking mode of a socket and the count of bytes waiting to be received.

namespace pelmorix::ws2 {
namespace {

int SetNonBlocking(int fd, bool nonBlocking) {
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0) return FailFromErrno();
  const int wanted = nonBlocking ? flags | O_NONBLOCK : flags & ~O_NONBLOCK;
  if (wanted != flags && fcntl(fd, F_SETFL, wanted) != 0) return FailFromErrno();
  return 0;
}

int CountWaiting(int fd, uint32_t& count) {
  int waiting = 0;
  if (ioctl(fd, FIONREAD, &waiting) != 0) return FailFromErrno();
  count = static_cast<uint32_t>(waiting);
  return 0;
}

}  // namespace

int IoctlSocket(SOCKET s, int32_t command, uint32_t* argument) {
  int fd;
  if (!Started() || !ToDescriptor(s, fd)) return SOCKET_ERROR;
  if (argument == nullptr) return Fail(WSAEFAULT);
  if (command == WS_FIONBIO) return SetNonBlocking(fd, *argument != 0);
  if (command == WS_FIONREAD) return CountWaiting(fd, *argument);
  return Fail(WSAEINVAL);
}

}  // namespace pelmorix::ws2
