#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "tests/support/test_sockets.h"

namespace pelmorix {
namespace {

sockaddr_in LoopbackAddress(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  return address;
}

long Transferred(ssize_t result) {
  if (result >= 0) return static_cast<long>(result);
  return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? kWouldWait : kFailed;
}

}  // namespace

TTestSocketUse::TTestSocketUse() = default;
TTestSocketUse::~TTestSocketUse() = default;

TTestSocket BoundLoopbackSocket(uint16_t port, bool nonBlocking) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0), 0);
  const sockaddr_in address = LoopbackAddress(port);
  if (fd < 0) return kNoTestSocket;
  if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
    close(fd);
    return kNoTestSocket;
  }
  return fd;
}

uint16_t LocalPort(TTestSocket socket) {
  sockaddr_in address{};
  socklen_t length = sizeof(address);
  if (getsockname(static_cast<int>(socket), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return 0;
  }
  return ntohs(address.sin_port);
}

bool ListenOn(TTestSocket socket, int backlog) {
  return listen(static_cast<int>(socket), backlog) == 0;
}

TTestSocket AcceptConnection(TTestSocket listener) {
  const int fd =
      accept4(static_cast<int>(listener), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
  return fd < 0 ? kNoTestSocket : fd;
}

int ConnectLoopback(TTestSocket socket, uint16_t port) {
  const sockaddr_in address = LoopbackAddress(port);
  if (connect(static_cast<int>(socket), reinterpret_cast<const sockaddr*>(&address),
              sizeof(address)) == 0) {
    return 1;
  }
  return errno == EINPROGRESS ? 0 : -1;
}

long ReceiveNow(TTestSocket socket, char* buffer, size_t size) {
  return Transferred(recv(static_cast<int>(socket), buffer, size, MSG_DONTWAIT));
}

long SendNow(TTestSocket socket, const char* buffer, size_t size) {
  return Transferred(send(static_cast<int>(socket), buffer, size, MSG_NOSIGNAL | MSG_DONTWAIT));
}

void ShutdownSending(TTestSocket socket) { shutdown(static_cast<int>(socket), SHUT_WR); }

void ResetOnClose(TTestSocket socket) {
  const linger abortive{1, 0};
  setsockopt(static_cast<int>(socket), SOL_SOCKET, SO_LINGER, &abortive, sizeof(abortive));
}

void CloseTestSocket(TTestSocket socket) { close(static_cast<int>(socket)); }

int WaitForSockets(TSocketWait* waits, size_t count, int timeoutMs) {
  std::vector<pollfd> entries(count);
  for (size_t i = 0; i < count; ++i) {
    entries[i] = {static_cast<int>(waits[i].Socket),
                  static_cast<short>(waits[i].Write ? POLLOUT : POLLIN), 0};
  }
  int result;
  do {
    result = poll(entries.data(), entries.size(), timeoutMs);
  } while (result < 0 && errno == EINTR);
  for (size_t i = 0; i < count; ++i) waits[i].Ready = result > 0 && entries[i].revents != 0;
  return result;
}

}  // namespace pelmorix
