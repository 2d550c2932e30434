#pragma once

#include <sys/socket.h>

namespace pelmorix::ws2 {

// The C library's socket functions whose names this library also exports with WinSock
// meaning. A plain call by name from inside the library could bind to the library's own
// export, so they are looked up past this library, once.
struct TSystemCalls {
  int (*Socket)(int domain, int type, int protocol);
  int (*Bind)(int fd, const sockaddr* address, socklen_t length);
  int (*Connect)(int fd, const sockaddr* address, socklen_t length);
  int (*Shutdown)(int fd, int how);
  int (*GetSockName)(int fd, sockaddr* address, socklen_t* length);
  int (*GetPeerName)(int fd, sockaddr* address, socklen_t* length);
  int (*SetSockOpt)(int fd, int level, int option, const void* value, socklen_t length);
};

const TSystemCalls& SystemCalls();

}  // namespace pelmorix::ws2
