// The library's exported functions under their WinSock names, with C linkage, for lookup by
// name. This file must not see the C library's socket declarations, whose names clash.

#include <type_traits>

#include "platform/ws2_32/socket_calls.h"

#define PELMORIX_WS2_EXPORT extern "C" __attribute__((visibility("default")))

using pelmorix::FD_SET;
using pelmorix::HOSTENT;
using pelmorix::SOCKADDR;
using pelmorix::SOCKET;
using pelmorix::TIMEVAL;
using pelmorix::WSADATA;
namespace ws2 = pelmorix::ws2;

PELMORIX_WS2_EXPORT int WSAStartup(uint16_t version, WSADATA* data) {
  return ws2::Startup(version, data);
}
PELMORIX_WS2_EXPORT int WSACleanup() { return ws2::Cleanup(); }
PELMORIX_WS2_EXPORT int WSAGetLastError() { return ws2::GetLastError(); }
PELMORIX_WS2_EXPORT void WSASetLastError(int error) { ws2::SetLastError(error); }

PELMORIX_WS2_EXPORT SOCKET socket(int af, int type, int protocol) {
  return ws2::Socket(af, type, protocol);
}
PELMORIX_WS2_EXPORT int bind(SOCKET s, const SOCKADDR* name, int nameLength) {
  return ws2::Bind(s, name, nameLength);
}
PELMORIX_WS2_EXPORT int connect(SOCKET s, const SOCKADDR* name, int nameLength) {
  return ws2::Connect(s, name, nameLength);
}
PELMORIX_WS2_EXPORT int recv(SOCKET s, char* buffer, int length, int flags) {
  return ws2::Recv(s, buffer, length, flags);
}
PELMORIX_WS2_EXPORT int send(SOCKET s, const char* buffer, int length, int flags) {
  return ws2::Send(s, buffer, length, flags);
}
// The first argument is ignored, as under WinSock.
PELMORIX_WS2_EXPORT int select(int, FD_SET* readSet, FD_SET* writeSet, FD_SET* errorSet,
                               const TIMEVAL* timeout) {
  return ws2::Select(readSet, writeSet, errorSet, timeout);
}
PELMORIX_WS2_EXPORT int shutdown(SOCKET s, int how) { return ws2::Shutdown(s, how); }
PELMORIX_WS2_EXPORT int closesocket(SOCKET s) { return ws2::CloseSocket(s); }
PELMORIX_WS2_EXPORT HOSTENT* gethostbyname(const char* name) { return ws2::GetHostByName(name); }
PELMORIX_WS2_EXPORT int getsockname(SOCKET s, SOCKADDR* name, int* nameLength) {
  return ws2::GetSockName(s, name, nameLength);
}
PELMORIX_WS2_EXPORT int getpeername(SOCKET s, SOCKADDR* name, int* nameLength) {
  return ws2::GetPeerName(s, name, nameLength);
}
PELMORIX_WS2_EXPORT int setsockopt(SOCKET s, int level, int option, const char* value, int length) {
  return ws2::SetSockOpt(s, level, option, value, length);
}
PELMORIX_WS2_EXPORT int ioctlsocket(SOCKET s, int32_t command, uint32_t* argument) {
  return ws2::IoctlSocket(s, command, argument);
}
PELMORIX_WS2_EXPORT uint16_t htons(uint16_t value) { return ws2::HostToNetwork16(value); }
PELMORIX_WS2_EXPORT uint16_t ntohs(uint16_t value) { return ws2::HostToNetwork16(value); }
PELMORIX_WS2_EXPORT uint32_t htonl(uint32_t value) { return ws2::HostToNetwork32(value); }
PELMORIX_WS2_EXPORT uint32_t ntohl(uint32_t value) { return ws2::HostToNetwork32(value); }

// The exports have exactly the shapes their callers look them up with.
static_assert(std::is_same_v<decltype(&WSAStartup), pelmorix::TWSAStartupProc>);
static_assert(std::is_same_v<decltype(&WSACleanup), pelmorix::TWSACleanupProc>);
static_assert(std::is_same_v<decltype(&WSAGetLastError), pelmorix::TWSAGetLastErrorProc>);
static_assert(std::is_same_v<decltype(&WSASetLastError), pelmorix::TWSASetLastErrorProc>);
static_assert(std::is_same_v<decltype(&socket), pelmorix::TSocketProc>);
static_assert(std::is_same_v<decltype(&bind), pelmorix::TBindProc>);
static_assert(std::is_same_v<decltype(&connect), pelmorix::TConnectProc>);
static_assert(std::is_same_v<decltype(&recv), pelmorix::TRecvProc>);
static_assert(std::is_same_v<decltype(&send), pelmorix::TSendProc>);
static_assert(std::is_same_v<decltype(&select), pelmorix::TSelectProc>);
static_assert(std::is_same_v<decltype(&shutdown), pelmorix::TShutdownProc>);
static_assert(std::is_same_v<decltype(&closesocket), pelmorix::TCloseSocketProc>);
static_assert(std::is_same_v<decltype(&gethostbyname), pelmorix::TGetHostByNameProc>);
static_assert(std::is_same_v<decltype(&getsockname), pelmorix::TGetSockNameProc>);
static_assert(std::is_same_v<decltype(&getpeername), pelmorix::TGetPeerNameProc>);
static_assert(std::is_same_v<decltype(&setsockopt), pelmorix::TSetSockOptProc>);
static_assert(std::is_same_v<decltype(&ioctlsocket), pelmorix::TIoctlSocketProc>);
static_assert(std::is_same_v<decltype(&htons), pelmorix::THtonsProc>);
static_assert(std::is_same_v<decltype(&ntohs), pelmorix::TNtohsProc>);
static_assert(std::is_same_v<decltype(&htonl), pelmorix::THtonlProc>);
static_assert(std::is_same_v<decltype(&ntohl), pelmorix::TNtohlProc>);
