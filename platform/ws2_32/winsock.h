#pragma once

// The values, records and call shapes of the socket library (Windows Sockets 2) as its callers
// see them. The library itself is loaded at run time, so callers include this header but never
// link it. Constants whose WinSock names POSIX also defines as macros carry a "WS_" prefix.

#include <cstdint>

namespace pelmorix {

// File name of the socket library, chosen by the build: "WS2_32.DLL" on Windows; elsewhere the
// stand-in's file, found beside the program or through the program's run path.
constexpr const char* kWinSockLibraryFile = PELMORIX_WINSOCK_LIBRARY_FILE;

using SOCKET = uintptr_t;
constexpr SOCKET INVALID_SOCKET = ~SOCKET{0};
constexpr int SOCKET_ERROR = -1;

constexpr int WS_AF_INET = 2;
constexpr int WS_SOCK_STREAM = 1;
constexpr int WS_SOCK_DGRAM = 2;
constexpr int WS_IPPROTO_TCP = 6;
constexpr int WS_TCP_NODELAY = 1;
constexpr int WS_SOL_SOCKET = 0xFFFF;
constexpr int WS_SO_REUSEADDR = 0x0004;
constexpr int WS_SO_KEEPALIVE = 0x0008;
constexpr int WS_SO_BROADCAST = 0x0020;
constexpr int WS_SO_LINGER = 0x0080;
constexpr int WS_SO_SNDBUF = 0x1001;
constexpr int WS_SO_RCVBUF = 0x1002;
constexpr int WS_SO_SNDTIMEO = 0x1005;
constexpr int WS_SO_RCVTIMEO = 0x1006;
constexpr int WS_MSG_OOB = 0x1;
constexpr int WS_MSG_PEEK = 0x2;
constexpr int WS_MSG_DONTROUTE = 0x4;
constexpr int WS_MSG_WAITALL = 0x8;
constexpr int WS_FD_SETSIZE = 64;
// ioctlsocket commands: non-blocking mode on (argument not 0) or off; the count of bytes waiting.
constexpr int32_t WS_FIONBIO = static_cast<int32_t>(0x8004667EU);
constexpr int32_t WS_FIONREAD = 0x4004667F;
constexpr int SD_RECEIVE = 0;
constexpr int SD_SEND = 1;
constexpr int SD_BOTH = 2;

// Error numbers reported by WSAGetLastError.
constexpr int WSAEINTR = 10004;
constexpr int WSAEBADF = 10009;
constexpr int WSAEACCES = 10013;
constexpr int WSAEFAULT = 10014;
constexpr int WSAEINVAL = 10022;
constexpr int WSAEMFILE = 10024;
constexpr int WSAEWOULDBLOCK = 10035;
constexpr int WSAEINPROGRESS = 10036;
constexpr int WSAEALREADY = 10037;
constexpr int WSAENOTSOCK = 10038;
constexpr int WSAEDESTADDRREQ = 10039;
constexpr int WSAEMSGSIZE = 10040;
constexpr int WSAEPROTOTYPE = 10041;
constexpr int WSAENOPROTOOPT = 10042;
constexpr int WSAEPROTONOSUPPORT = 10043;
constexpr int WSAESOCKTNOSUPPORT = 10044;
constexpr int WSAEOPNOTSUPP = 10045;
constexpr int WSAEPFNOSUPPORT = 10046;
constexpr int WSAEAFNOSUPPORT = 10047;
constexpr int WSAEADDRINUSE = 10048;
constexpr int WSAEADDRNOTAVAIL = 10049;
constexpr int WSAENETDOWN = 10050;
constexpr int WSAENETUNREACH = 10051;
constexpr int WSAENETRESET = 10052;
constexpr int WSAECONNABORTED = 10053;
constexpr int WSAECONNRESET = 10054;
constexpr int WSAENOBUFS = 10055;
constexpr int WSAEISCONN = 10056;
constexpr int WSAENOTCONN = 10057;
constexpr int WSAESHUTDOWN = 10058;
constexpr int WSAETOOMANYREFS = 10059;
constexpr int WSAETIMEDOUT = 10060;
constexpr int WSAECONNREFUSED = 10061;
constexpr int WSAELOOP = 10062;
constexpr int WSAENAMETOOLONG = 10063;
constexpr int WSAEHOSTDOWN = 10064;
constexpr int WSAEHOSTUNREACH = 10065;
constexpr int WSAENOTEMPTY = 10066;
constexpr int WSASYSNOTREADY = 10091;
constexpr int WSAVERNOTSUPPORTED = 10092;
constexpr int WSANOTINITIALISED = 10093;
constexpr int WSAHOST_NOT_FOUND = 11001;
constexpr int WSATRY_AGAIN = 11002;
constexpr int WSANO_RECOVERY = 11003;
constexpr int WSANO_DATA = 11004;

// The 64-bit library's layout, which puts the counts and the pointer before the texts.
struct WSADATA {
  uint16_t wVersion;
  uint16_t wHighVersion;
  uint16_t iMaxSockets;
  uint16_t iMaxUdpDg;
  char* lpVendorInfo;
  char szDescription[257];
  char szSystemStatus[129];
};
static_assert(sizeof(WSADATA) == 408);

struct IN_ADDR {
  uint32_t s_addr;  // network order
};

struct SOCKADDR {
  uint16_t sa_family;
  char sa_data[14];
};

struct SOCKADDR_IN {
  int16_t sin_family;
  uint16_t sin_port;  // network order
  IN_ADDR sin_addr;
  char sin_zero[8];
};
static_assert(sizeof(SOCKADDR_IN) == 16);

struct HOSTENT {
  char* h_name;
  char** h_aliases;
  int16_t h_addrtype;
  int16_t h_length;
  char** h_addr_list;  // addresses in network order, ended by a null entry
};

struct TIMEVAL {
  int32_t tv_sec;
  int32_t tv_usec;
};

// A socket set as select takes it: a count and up to 64 sockets.
struct FD_SET {
  uint32_t fd_count;
  SOCKET fd_array[WS_FD_SETSIZE];
};

// Shapes of the library's functions, looked up by their WinSock names.
using TWSAStartupProc = int (*)(uint16_t version, WSADATA* data);
using TWSACleanupProc = int (*)();
using TSocketProc = SOCKET (*)(int af, int type, int protocol);
using TBindProc = int (*)(SOCKET s, const SOCKADDR* name, int nameLength);
using TConnectProc = int (*)(SOCKET s, const SOCKADDR* name, int nameLength);
using TRecvProc = int (*)(SOCKET s, char* buffer, int length, int flags);
using TSendProc = int (*)(SOCKET s, const char* buffer, int length, int flags);
using TSelectProc = int (*)(int nfds, FD_SET* readSet, FD_SET* writeSet, FD_SET* errorSet,
                            const TIMEVAL* timeout);
using TShutdownProc = int (*)(SOCKET s, int how);
using TCloseSocketProc = int (*)(SOCKET s);
using TGetHostByNameProc = HOSTENT* (*)(const char* name);
using TGetSockNameProc = int (*)(SOCKET s, SOCKADDR* name, int* nameLength);
using TGetPeerNameProc = int (*)(SOCKET s, SOCKADDR* name, int* nameLength);
using TSetSockOptProc = int (*)(SOCKET s, int level, int option, const char* value, int length);
using THtonsProc = uint16_t (*)(uint16_t value);
using TIoctlSocketProc = int (*)(SOCKET s, int32_t command, uint32_t* argument);
using TNtohsProc = uint16_t (*)(uint16_t value);
using THtonlProc = uint32_t (*)(uint32_t value);
using TNtohlProc = uint32_t (*)(uint32_t value);
using TWSAGetLastErrorProc = int (*)();
using TWSASetLastErrorProc = void (*)(int error);

}  // namespace pelmorix
