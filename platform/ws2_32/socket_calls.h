#pragma once

// The socket library's functions with WinSock meaning over POSIX sockets. The exported C names
// forward here; failures return SOCKET_ERROR (or INVALID_SOCKET, or null) and leave the WinSock
// error number for WSAGetLastError of the calling thread.

#include "platform/ws2_32/winsock.h"

namespace pelmorix::ws2 {

int Startup(uint16_t version, WSADATA* data);
int Cleanup();
int GetLastError();
void SetLastError(int error);

SOCKET Socket(int af, int type, int protocol);
int Bind(SOCKET s, const SOCKADDR* name, int nameLength);
int Connect(SOCKET s, const SOCKADDR* name, int nameLength);
int Recv(SOCKET s, char* buffer, int length, int flags);
int Send(SOCKET s, const char* buffer, int length, int flags);
int Select(FD_SET* readSet, FD_SET* writeSet, FD_SET* errorSet, const TIMEVAL* timeout);
int Shutdown(SOCKET s, int how);
int CloseSocket(SOCKET s);
HOSTENT* GetHostByName(const char* name);
int GetSockName(SOCKET s, SOCKADDR* name, int* nameLength);
int GetPeerName(SOCKET s, SOCKADDR* name, int* nameLength);
int SetSockOpt(SOCKET s, int level, int option, const char* value, int length);
int IoctlSocket(SOCKET s, int32_t command, uint32_t* argument);

uint16_t HostToNetwork16(uint16_t value);
uint32_t HostToNetwork32(uint32_t value);

}  // namespace pelmorix::ws2
