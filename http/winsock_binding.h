#pragma once

#include <array>
#include <atomic>
#include <string>

#include "platform/ws2_32/winsock.h"

namespace pelmorix {

// The late binding of the socket library: a table of the library's functions, each called
// through a slot. A slot that is not bound yet (null) enters the entry's stub, which looks the
// name up in the loaded library and fills the slot, so later calls go straight through.
class TWinSockBinding {
 public:
  static constexpr int kEntryCount = 112;
  // Table positions of the functions the socket stack calls.
  enum TEntry {
    kWSACleanup = 0,
    kBind = 2,
    kCloseSocket = 3,
    kConnect = 4,
    kIoctlSocket = 5,
    kGetPeerName = 6,
    kGetSockName = 7,
    kHtonl = 9,
    kHtons = 10,
    kNtohl = 14,
    kNtohs = 15,
    kRecv = 16,
    kSelect = 18,
    kSend = 19,
    kSetSockOpt = 21,
    kShutdown = 22,
    kSocket = 23,
    kGetHostByName = 25,
    kWSASetLastError = 31,
    kWSAGetLastError = 32,
  };
  static const char* EntryName(int entry);

  // libraryFile: found the system's way (http/winsock_library.h); on POSIX a bare file name is
  // looked for beside the program, then through the program's run path.
  explicit TWinSockBinding(std::string libraryFile = kWinSockLibraryFile);
  ~TWinSockBinding();
  TWinSockBinding(const TWinSockBinding&) = delete;
  TWinSockBinding& operator=(const TWinSockBinding&) = delete;

  // The start-up call: loads the library when it is not loaded and runs its WSAStartup; once
  // loaded, later start-ups return 0 without calling WSAStartup again.
  int Startup(uint16_t version, WSADATA& data);
  // Frees the library and points every slot back at its stub.
  void Unload();
  bool Loaded() const { return libraryHandle_.load() != nullptr; }

  int WSACleanup() { return Bound<TWSACleanupProc>(kWSACleanup)(); }
  SOCKET socket(int af, int type, int protocol) {
    return Bound<TSocketProc>(kSocket)(af, type, protocol);
  }
  int bind(SOCKET s, const SOCKADDR* name, int length) {
    return Bound<TBindProc>(kBind)(s, name, length);
  }
  int connect(SOCKET s, const SOCKADDR* name, int length) {
    return Bound<TConnectProc>(kConnect)(s, name, length);
  }
  int recv(SOCKET s, char* buffer, int length, int flags) {
    return Bound<TRecvProc>(kRecv)(s, buffer, length, flags);
  }
  int send(SOCKET s, const char* buffer, int length, int flags) {
    return Bound<TSendProc>(kSend)(s, buffer, length, flags);
  }
  int select(int nfds, FD_SET* readSet, FD_SET* writeSet, FD_SET* errorSet,
             const TIMEVAL* timeout) {
    return Bound<TSelectProc>(kSelect)(nfds, readSet, writeSet, errorSet, timeout);
  }
  int shutdown(SOCKET s, int how) { return Bound<TShutdownProc>(kShutdown)(s, how); }
  int closesocket(SOCKET s) { return Bound<TCloseSocketProc>(kCloseSocket)(s); }
  HOSTENT* gethostbyname(const char* name) {
    return Bound<TGetHostByNameProc>(kGetHostByName)(name);
  }
  int getsockname(SOCKET s, SOCKADDR* name, int* length) {
    return Bound<TGetSockNameProc>(kGetSockName)(s, name, length);
  }
  int getpeername(SOCKET s, SOCKADDR* name, int* length) {
    return Bound<TGetPeerNameProc>(kGetPeerName)(s, name, length);
  }
  int setsockopt(SOCKET s, int level, int option, const char* value, int length) {
    return Bound<TSetSockOptProc>(kSetSockOpt)(s, level, option, value, length);
  }
  int ioctlsocket(SOCKET s, int32_t command, uint32_t* argument) {
    return Bound<TIoctlSocketProc>(kIoctlSocket)(s, command, argument);
  }
  // Capitalised: the C library may define the byte-order names as macros.
  uint16_t Htons(uint16_t value) { return Bound<THtonsProc>(kHtons)(value); }
  uint16_t Ntohs(uint16_t value) { return Bound<TNtohsProc>(kNtohs)(value); }
  uint32_t Htonl(uint32_t value) { return Bound<THtonlProc>(kHtonl)(value); }
  uint32_t Ntohl(uint32_t value) { return Bound<TNtohlProc>(kNtohl)(value); }
  int WSAGetLastError() { return Bound<TWSAGetLastErrorProc>(kWSAGetLastError)(); }
  void WSASetLastError(int error) { Bound<TWSASetLastErrorProc>(kWSASetLastError)(error); }

 private:
  using TProc = void (*)();

  template <class Proc>
  Proc Bound(int entry) {
    TProc slot = slots_[entry].load(std::memory_order_acquire);
    if (slot == nullptr) slot = EnterStub(entry);
    return reinterpret_cast<Proc>(slot);
  }
  // The stub of an entry; raises EIdWS2StubError while no library is loaded.
  TProc EnterStub(int entry);
  void* LoadSocketLibrary();

  std::string libraryFile_;
  std::atomic<void*> libraryHandle_{nullptr};
  std::array<std::atomic<TProc>, kEntryCount> slots_{};
};

}  // namespace pelmorix
