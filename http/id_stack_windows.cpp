#include "http/id_stack_windows.h"

#include <cstring>

#include "http/socket_exceptions.h"

namespace pelmorix {
namespace {

constexpr uint16_t kWinSockVersion = 0x0202;

// Fills a socket set from a list; false when the list does not fit.
bool FillSet(const std::vector<SOCKET>* list, FD_SET& set) {
  set.fd_count = 0;
  if (list == nullptr) return true;
  if (list->size() > static_cast<size_t>(WS_FD_SETSIZE)) return false;
  for (const SOCKET s : *list) set.fd_array[set.fd_count++] = s;
  return true;
}

void ReadSet(const FD_SET& set, std::vector<SOCKET>* list) {
  if (list == nullptr) return;
  list->assign(set.fd_array, set.fd_array + set.fd_count);
}

}  // namespace

TIdStackWindows::TIdStackWindows(TWinSockBinding& binding, bool& stackStarted) : binding_(binding) {
  if (stackStarted) return;
  WSADATA data{};
  if (binding_.Startup(kWinSockVersion, data) != 0) {
    throw EIdStackInitializationFailed("Winsock Initialization Error.");
  }
  stackStarted = true;
}

SOCKET TIdStackWindows::NewSocket(int type, int protocol) {
  const SOCKET s = binding_.socket(WS_AF_INET, type, protocol);
  if (s == INVALID_SOCKET) throw EIdInvalidSocket("Cannot allocate socket.");
  return s;
}

SOCKADDR_IN TIdStackWindows::SocketAddress(int family, int port, const std::string& address) {
  SOCKADDR_IN in{};
  in.sin_family = static_cast<int16_t>(family);
  in.sin_port = binding_.Htons(static_cast<uint16_t>(port));
  if (!address.empty()) {
    const TIdIPv4Address bytes = ParseAddress(address);
    std::memcpy(&in.sin_addr.s_addr, bytes.data(), bytes.size());
  }
  return in;
}

void TIdStackWindows::ReadAddress(const SOCKADDR_IN& in, int& family, int& port,
                                  std::string& address) {
  TIdIPv4Address bytes;
  std::memcpy(bytes.data(), &in.sin_addr.s_addr, bytes.size());
  family = in.sin_family;
  port = binding_.Ntohs(in.sin_port);
  address = AddressToText(bytes);
}

int TIdStackWindows::Bind(SOCKET s, int family, int port, const std::string& address) {
  const SOCKADDR_IN in = SocketAddress(family, port, address);
  return binding_.bind(s, reinterpret_cast<const SOCKADDR*>(&in), sizeof(in));
}

int TIdStackWindows::Connect(SOCKET s, int family, int port, const std::string& address) {
  const SOCKADDR_IN in = SocketAddress(family, port, address);
  return binding_.connect(s, reinterpret_cast<const SOCKADDR*>(&in), sizeof(in));
}

int TIdStackWindows::Receive(SOCKET s, void* buffer, int length, int flags) {
  return binding_.recv(s, static_cast<char*>(buffer), length, flags);
}

int TIdStackWindows::Send(SOCKET s, const void* buffer, int length, int flags) {
  return binding_.send(s, static_cast<const char*>(buffer), length, flags);
}

int TIdStackWindows::Wait(std::vector<SOCKET>* readList, std::vector<SOCKET>* writeList,
                          int timeoutMilliseconds, std::vector<SOCKET>* errorList) {
  FD_SET readSet, writeSet, errorSet;
  if (!FillSet(readList, readSet) || !FillSet(writeList, writeSet) ||
      !FillSet(errorList, errorSet)) {
    throw EIdStackSetSizeExceeded("Set Size Exceeded.");
  }
  TIMEVAL time{};
  const TIMEVAL* timeout = nullptr;
  if (timeoutMilliseconds != -2) {
    time.tv_sec = timeoutMilliseconds / 1000;
    time.tv_usec = (timeoutMilliseconds % 1000) * 1000;
    timeout = &time;
  }
  const int result =
      binding_.select(0, readList ? &readSet : nullptr, writeList ? &writeSet : nullptr,
                      errorList ? &errorSet : nullptr, timeout);
  ReadSet(readSet, readList);
  ReadSet(writeSet, writeList);
  ReadSet(errorSet, errorList);
  return result;
}

int TIdStackWindows::Shutdown(SOCKET s, int how) { return binding_.shutdown(s, how); }

int TIdStackWindows::Close(SOCKET s) { return binding_.closesocket(s); }

void TIdStackWindows::LocalName(SOCKET s, int& family, int& port, std::string& address) {
  SOCKADDR_IN in{};
  int length = sizeof(in);
  CheckResult(binding_.getsockname(s, reinterpret_cast<SOCKADDR*>(&in), &length));
  ReadAddress(in, family, port, address);
}

void TIdStackWindows::PeerName(SOCKET s, int& family, int& port, std::string& address) {
  SOCKADDR_IN in{};
  int length = sizeof(in);
  CheckResult(binding_.getpeername(s, reinterpret_cast<SOCKADDR*>(&in), &length));
  ReadAddress(in, family, port, address);
}

int TIdStackWindows::SetOption(SOCKET s, int level, int option, const void* value, int length) {
  return binding_.setsockopt(s, level, option, static_cast<const char*>(value), length);
}

int TIdStackWindows::IOControl(SOCKET s, int32_t command, uint32_t& argument) {
  return binding_.ioctlsocket(s, command, &argument);
}

uint16_t TIdStackWindows::HostToNetwork(uint16_t value) { return binding_.Htons(value); }
uint16_t TIdStackWindows::NetworkToHost(uint16_t value) { return binding_.Ntohs(value); }
uint32_t TIdStackWindows::HostToNetwork(uint32_t value) { return binding_.Htonl(value); }
uint32_t TIdStackWindows::NetworkToHost(uint32_t value) { return binding_.Ntohl(value); }

int TIdStackWindows::WSGetLastError() { return binding_.WSAGetLastError(); }

std::string TIdStackWindows::HostByName(const std::string& host) {
  const HOSTENT* entry = binding_.gethostbyname(host.c_str());
  if (entry == nullptr || entry->h_addr_list == nullptr || entry->h_addr_list[0] == nullptr) {
    CheckResult(SOCKET_ERROR);
  }
  TIdIPv4Address bytes;
  std::memcpy(bytes.data(), entry->h_addr_list[0], bytes.size());
  return AddressToText(bytes);
}

std::string TIdStackWindows::ErrorDescription(int32_t number) {
  if (number == WSAHOST_NOT_FOUND) return "Host not found.";
  return TIdStack::ErrorDescription(number);
}

}  // namespace pelmorix
