#pragma once

namespace pelmorix::ws2 {

// The WinSock error number for a C library errno value; numbers without a WinSock counterpart
// become WSAEINVAL.
int WinSockErrorFromErrno(int errnoValue);

// The WinSock error number for a resolver answer (h_errno of the host lookup).
int WinSockErrorFromResolver(int resolverError);

}  // namespace pelmorix::ws2
