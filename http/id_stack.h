#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/ws2_32/winsock.h"

namespace pelmorix {

// Four IPv4 address bytes in network order, first byte first.
using TIdIPv4Address = std::array<uint8_t, 4>;

// The socket stack: the socket calls the connection layer makes, the check of their results
// with the error texts, and the IPv4 address texts.
class TIdStack {
 public:
  TIdStack() = default;
  virtual ~TIdStack() = default;
  TIdStack(const TIdStack&) = delete;
  TIdStack& operator=(const TIdStack&) = delete;

  // The WinSock error number that the last failed check read.
  int32_t LastErrorNumber() const { return lastErrorNumber_.load(); }

  // False for a result other than SOCKET_ERROR. For SOCKET_ERROR: reads the error number; true
  // when it is one of the ignored numbers, otherwise raises EIdSocketError.
  bool CheckResult(int result, std::initializer_list<int32_t> ignored = {});
  [[noreturn]] void RaiseError(int32_t number);
  // "Socket Error # <number>" CR LF and the table text (empty for a number not in the table).
  std::string ErrorText(int32_t number);

  // "localhost" (any case) gives 127.0.0.1 and an address text itself; anything else is looked up.
  std::string ResolveHostText(const std::string& host);
  bool IsAddressText(const std::string& text);
  // Raises EIdInvalidIPAddress for a text that is no address.
  TIdIPv4Address ParseAddress(const std::string& text);
  std::string AddressToText(const TIdIPv4Address& address);

  // Socket calls. Results are the library's own, unchecked, unless said otherwise.
  // NewSocket raises EIdInvalidSocket when no socket can be had.
  virtual SOCKET NewSocket(int type, int protocol) = 0;
  // An empty address text binds any local address.
  virtual int Bind(SOCKET s, int family, int port, const std::string& address) = 0;
  virtual int Connect(SOCKET s, int family, int port, const std::string& address) = 0;
  virtual int Receive(SOCKET s, void* buffer, int length, int flags) = 0;
  virtual int Send(SOCKET s, const void* buffer, int length, int flags) = 0;
  // Waits until a socket of the lists is ready; the lists keep only the ready ones. A time-out of
  // -2 waits without limit. More than 64 sockets in a list raise EIdStackSetSizeExceeded.
  virtual int Wait(std::vector<SOCKET>* readList, std::vector<SOCKET>* writeList,
                   int timeoutMilliseconds, std::vector<SOCKET>* errorList) = 0;
  virtual int Shutdown(SOCKET s, int how) = 0;
  virtual int Close(SOCKET s) = 0;
  // Both checked: a failure raises EIdSocketError.
  virtual void LocalName(SOCKET s, int& family, int& port, std::string& address) = 0;
  virtual void PeerName(SOCKET s, int& family, int& port, std::string& address) = 0;
  virtual int SetOption(SOCKET s, int level, int option, const void* value, int length) = 0;
  // ioctlsocket: WS_FIONBIO sets the blocking mode, WS_FIONREAD counts the bytes waiting.
  virtual int IOControl(SOCKET s, int32_t command, uint32_t& argument) = 0;
  virtual uint16_t HostToNetwork(uint16_t value) = 0;
  virtual uint16_t NetworkToHost(uint16_t value) = 0;
  virtual uint32_t HostToNetwork(uint32_t value) = 0;
  virtual uint32_t NetworkToHost(uint32_t value) = 0;
  virtual int WSGetLastError() = 0;

 protected:
  // The first address of a host lookup as text; a failed lookup raises EIdSocketError.
  virtual std::string HostByName(const std::string& host) = 0;
  // The table text of an error number; empty when the number is not in the table.
  virtual std::string ErrorDescription(int32_t number);

 private:
  std::atomic<int32_t> lastErrorNumber_{0};
};

}  // namespace pelmorix
