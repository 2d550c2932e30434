#pragma once

#include "platform/ws2_32/winsock.h"

namespace pelmorix::ws2 {

// True once WSAStartup has succeeded more often than WSACleanup ran; otherwise the caller's
// error becomes WSANOTINITIALISED.
bool Started();

// Sets the caller's error number and returns SOCKET_ERROR.
int Fail(int error);
int FailFromErrno();

// The descriptor behind a socket number; false (with WSAENOTSOCK) for a number that cannot be one.
bool ToDescriptor(SOCKET s, int& fd);

}  // namespace pelmorix::ws2
