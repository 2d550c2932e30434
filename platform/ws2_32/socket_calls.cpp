#include "platform/ws2_32/socket_calls.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/ws2_32/library_state.h"
#include "platform/ws2_32/system_calls.h"

namespace pelmorix::ws2 {
namespace {

// A blocking connect in progress. Closing a descriptor does not wake a thread blocked on it, as
// closesocket does under WinSock, so closesocket shuts such a socket down itself and the connect
// then reports WSAENOTSOCK.
struct TPendingConnect {
  int fd;
  bool aborted;
};

std::mutex pendingLock;
std::vector<TPendingConnect*> pendingConnects;

class TPendingConnectEntry {
 public:
  explicit TPendingConnectEntry(int fd) : entry_{fd, false} {
    std::lock_guard<std::mutex> guard(pendingLock);
    pendingConnects.push_back(&entry_);
  }
  ~TPendingConnectEntry() {
    std::lock_guard<std::mutex> guard(pendingLock);
    pendingConnects.erase(std::find(pendingConnects.begin(), pendingConnects.end(), &entry_));
  }
  bool Aborted() {
    std::lock_guard<std::mutex> guard(pendingLock);
    return entry_.aborted;
  }

 private:
  TPendingConnect entry_;
};

bool IsConnecting(int fd) {
  return std::any_of(pendingConnects.begin(), pendingConnects.end(),
                     [fd](const TPendingConnect* pending) { return pending->fd == fd; });
}

bool ToPosixAddress(const SOCKADDR* name, int nameLength, sockaddr_in& address) {
  if (name == nullptr || nameLength < static_cast<int>(sizeof(SOCKADDR_IN))) {
    Fail(WSAEFAULT);
    return false;
  }
  SOCKADDR_IN in;
  std::memcpy(&in, name, sizeof(in));
  if (in.sin_family != WS_AF_INET) {
    Fail(WSAEAFNOSUPPORT);
    return false;
  }
  std::memset(&address, 0, sizeof(address));
  address.sin_family = AF_INET;
  address.sin_port = in.sin_port;
  address.sin_addr.s_addr = in.sin_addr.s_addr;
  return true;
}

int FromPosixAddress(const sockaddr_in& address, SOCKADDR* name, int* nameLength) {
  SOCKADDR_IN in{};
  in.sin_family = WS_AF_INET;
  in.sin_port = address.sin_port;
  in.sin_addr.s_addr = address.sin_addr.s_addr;
  std::memcpy(name, &in, sizeof(in));
  *nameLength = sizeof(in);
  return 0;
}

using TNameCall = int (*)(int, sockaddr*, socklen_t*);

int QueryName(TNameCall call, SOCKET s, SOCKADDR* name, int* nameLength) {
  int fd;
  if (!Started() || !ToDescriptor(s, fd)) return SOCKET_ERROR;
  if (name == nullptr || nameLength == nullptr ||
      *nameLength < static_cast<int>(sizeof(SOCKADDR_IN))) {
    return Fail(WSAEFAULT);
  }
  sockaddr_in address{};
  socklen_t length = sizeof(address);
  if (call(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return FailFromErrno();
  if (address.sin_family != AF_INET) return Fail(WSAEAFNOSUPPORT);
  return FromPosixAddress(address, name, nameLength);
}

bool ToPosixFlags(int flags, int allowed, int& posixFlags) {
  if ((flags & ~allowed) != 0) {
    Fail(WSAEOPNOTSUPP);
    return false;
  }
  posixFlags = 0;
  if (flags & WS_MSG_OOB) posixFlags |= MSG_OOB;
  if (flags & WS_MSG_PEEK) posixFlags |= MSG_PEEK;
  if (flags & WS_MSG_DONTROUTE) posixFlags |= MSG_DONTROUTE;
  if (flags & WS_MSG_WAITALL) posixFlags |= MSG_WAITALL;
  return true;
}

// A blocking connect that a signal interrupted goes on in the background; wait for its end.
int FinishInterruptedConnect(int fd) {
  pollfd entry{fd, POLLOUT, 0};
  while (poll(&entry, 1, -1) < 0) {
    if (errno != EINTR) return -1;
  }
  int error = 0;
  socklen_t length = sizeof(error);
  if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) return -1;
  if (error == 0) return 0;
  errno = error;
  return -1;
}

}  // namespace

SOCKET Socket(int af, int type, int protocol) {
  if (!Started()) return INVALID_SOCKET;
  if (af != WS_AF_INET) {
    Fail(WSAEAFNOSUPPORT);
    return INVALID_SOCKET;
  }
  int posixType;
  if (type == WS_SOCK_STREAM) {
    posixType = SOCK_STREAM;
  } else if (type == WS_SOCK_DGRAM) {
    posixType = SOCK_DGRAM;
  } else {
    Fail(WSAESOCKTNOSUPPORT);
    return INVALID_SOCKET;
  }
  const int fd = SystemCalls().Socket(AF_INET, posixType | SOCK_CLOEXEC, protocol);
  if (fd < 0) {
    FailFromErrno();
    return INVALID_SOCKET;
  }
  return static_cast<SOCKET>(fd);
}

int Bind(SOCKET s, const SOCKADDR* name, int nameLength) {
  int fd;
  sockaddr_in address;
  if (!Started() || !ToDescriptor(s, fd) || !ToPosixAddress(name, nameLength, address)) {
    return SOCKET_ERROR;
  }
  if (SystemCalls().Bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
    return FailFromErrno();
  }
  return 0;
}

int Connect(SOCKET s, const SOCKADDR* name, int nameLength) {
  int fd;
  sockaddr_in address;
  if (!Started() || !ToDescriptor(s, fd) || !ToPosixAddress(name, nameLength, address)) {
    return SOCKET_ERROR;
  }
  TPendingConnectEntry pending(fd);
  int result = SystemCalls().Connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  if (result != 0 && errno == EINTR) result = FinishInterruptedConnect(fd);
  const int error = errno;
  if (pending.Aborted()) return Fail(WSAENOTSOCK);
  if (result != 0) {
    errno = error;
    return FailFromErrno();
  }
  return 0;
}

int Recv(SOCKET s, char* buffer, int length, int flags) {
  int fd;
  int posixFlags;
  if (!Started() || !ToDescriptor(s, fd)) return SOCKET_ERROR;
  if (!ToPosixFlags(flags, WS_MSG_OOB | WS_MSG_PEEK | WS_MSG_WAITALL, posixFlags)) {
    return SOCKET_ERROR;
  }
  if (length < 0 || (buffer == nullptr && length > 0)) return Fail(WSAEFAULT);
  ssize_t received;
  do {
    received = recvfrom(fd, buffer, static_cast<size_t>(length), posixFlags, nullptr, nullptr);
  } while (received < 0 && errno == EINTR);
  if (received < 0) return FailFromErrno();
  return static_cast<int>(received);
}

int Send(SOCKET s, const char* buffer, int length, int flags) {
  int fd;
  int posixFlags;
  if (!Started() || !ToDescriptor(s, fd)) return SOCKET_ERROR;
  if (!ToPosixFlags(flags, WS_MSG_OOB | WS_MSG_DONTROUTE, posixFlags)) return SOCKET_ERROR;
  if (length < 0 || (buffer == nullptr && length > 0)) return Fail(WSAEFAULT);
  // A peer that has gone away must give an error number, never the broken-pipe signal.
  posixFlags |= MSG_NOSIGNAL;
  ssize_t sent;
  do {
    sent = sendto(fd, buffer, static_cast<size_t>(length), posixFlags, nullptr, 0);
  } while (sent < 0 && errno == EINTR);
  if (sent < 0) return FailFromErrno();
  return static_cast<int>(sent);
}

int Shutdown(SOCKET s, int how) {
  int fd;
  if (!Started() || !ToDescriptor(s, fd)) return SOCKET_ERROR;
  if (how < SD_RECEIVE || how > SD_BOTH) return Fail(WSAEINVAL);
  {
    // Under WinSock a socket that is still connecting is not connected yet; only
    // closesocket breaks off its connect.
    std::lock_guard<std::mutex> guard(pendingLock);
    if (IsConnecting(fd)) return Fail(WSAENOTCONN);
  }
  const int posixHow = how == SD_RECEIVE ? SHUT_RD : how == SD_SEND ? SHUT_WR : SHUT_RDWR;
  if (SystemCalls().Shutdown(fd, posixHow) != 0) return FailFromErrno();
  return 0;
}

int CloseSocket(SOCKET s) {
  int fd;
  if (!Started() || !ToDescriptor(s, fd)) return SOCKET_ERROR;
  {
    std::lock_guard<std::mutex> guard(pendingLock);
    bool connecting = false;
    for (TPendingConnect* pending : pendingConnects) {
      if (pending->fd == fd) {
        pending->aborted = true;
        connecting = true;
      }
    }
    if (connecting) SystemCalls().Shutdown(fd, SHUT_RDWR);
  }
  if (close(fd) != 0) {
    return errno == EBADF ? Fail(WSAENOTSOCK) : FailFromErrno();
  }
  return 0;
}

int GetSockName(SOCKET s, SOCKADDR* name, int* nameLength) {
  return QueryName(SystemCalls().GetSockName, s, name, nameLength);
}

int GetPeerName(SOCKET s, SOCKADDR* name, int* nameLength) {
  return QueryName(SystemCalls().GetPeerName, s, name, nameLength);
}

uint16_t HostToNetwork16(uint16_t value) {
  uint16_t result;
  const uint8_t bytes[2] = {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
  std::memcpy(&result, bytes, sizeof(result));
  return result;
}

uint32_t HostToNetwork32(uint32_t value) {
  uint32_t result;
  const uint8_t bytes[4] = {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
                            static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
  std::memcpy(&result, bytes, sizeof(result));
  return result;
}

}  // namespace pelmorix::ws2
