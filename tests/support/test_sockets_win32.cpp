#include <winsock2.h>

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

SOCKET Native(TTestSocket socket) { return static_cast<SOCKET>(socket); }

void SetNonBlocking(SOCKET socket) {
  u_long on = 1;
  ioctlsocket(socket, FIONBIO, &on);
}

long Transferred(int result) {
  if (result >= 0) return result;
  return WSAGetLastError() == WSAEWOULDBLOCK ? kWouldWait : kFailed;
}

// A transfer of more than an int at once is cut to one.
int Chunk(size_t size) { return size > 1 << 30 ? 1 << 30 : static_cast<int>(size); }

}  // namespace

TTestSocketUse::TTestSocketUse() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
}

TTestSocketUse::~TTestSocketUse() { WSACleanup(); }

TTestSocket BoundLoopbackSocket(uint16_t port, bool nonBlocking) {
  const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (socket == INVALID_SOCKET) return kNoTestSocket;
  // Binding a port another socket holds must fail, as it does on POSIX.
  BOOL exclusive = TRUE;
  setsockopt(socket, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
             sizeof(exclusive));
  if (nonBlocking) SetNonBlocking(socket);
  const sockaddr_in address = LoopbackAddress(port);
  if (bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
    closesocket(socket);
    return kNoTestSocket;
  }
  return static_cast<TTestSocket>(socket);
}

uint16_t LocalPort(TTestSocket socket) {
  sockaddr_in address{};
  int length = sizeof(address);
  if (getsockname(Native(socket), reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
  return ntohs(address.sin_port);
}

bool ListenOn(TTestSocket socket, int backlog) { return listen(Native(socket), backlog) == 0; }

TTestSocket AcceptConnection(TTestSocket listener) {
  const SOCKET socket = accept(Native(listener), nullptr, nullptr);
  if (socket == INVALID_SOCKET) return kNoTestSocket;
  SetNonBlocking(socket);
  return static_cast<TTestSocket>(socket);
}

int ConnectLoopback(TTestSocket socket, uint16_t port) {
  const sockaddr_in address = LoopbackAddress(port);
  if (connect(Native(socket), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
    return 1;
  }
  return WSAGetLastError() == WSAEWOULDBLOCK ? 0 : -1;
}

long ReceiveNow(TTestSocket socket, char* buffer, size_t size) {
  return Transferred(recv(Native(socket), buffer, Chunk(size), 0));
}

long SendNow(TTestSocket socket, const char* buffer, size_t size) {
  return Transferred(send(Native(socket), buffer, Chunk(size), 0));
}

void ShutdownSending(TTestSocket socket) { shutdown(Native(socket), SD_SEND); }

void ResetOnClose(TTestSocket socket) {
  const linger abortive{1, 0};
  setsockopt(Native(socket), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abortive),
             sizeof(abortive));
}

void CloseTestSocket(TTestSocket socket) { closesocket(Native(socket)); }

int WaitForSockets(TSocketWait* waits, size_t count, int timeoutMs) {
  std::vector<WSAPOLLFD> entries(count);
  for (size_t i = 0; i < count; ++i) {
    entries[i] = {Native(waits[i].Socket),
                  static_cast<SHORT>(waits[i].Write ? POLLWRNORM : POLLRDNORM), 0};
  }
  const int result = WSAPoll(entries.data(), static_cast<ULONG>(entries.size()), timeoutMs);
  for (size_t i = 0; i < count; ++i) waits[i].Ready = result > 0 && entries[i].revents != 0;
  return result;
}

}  // namespace pelmorix
