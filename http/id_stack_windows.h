#pragma once

#include "http/id_stack.h"
#include "http/winsock_binding.h"

namespace pelmorix {

// The socket stack over the late-bound socket library.
class TIdStackWindows : public TIdStack {
 public:
  // Starts the library (version 2.2) unless stackStarted says it is started already; sets
  // stackStarted once that succeeded. A nonzero start-up result raises
  // EIdStackInitializationFailed.
  TIdStackWindows(TWinSockBinding& binding, bool& stackStarted);

  SOCKET NewSocket(int type, int protocol) override;
  int Bind(SOCKET s, int family, int port, const std::string& address) override;
  int Connect(SOCKET s, int family, int port, const std::string& address) override;
  int Receive(SOCKET s, void* buffer, int length, int flags) override;
  int Send(SOCKET s, const void* buffer, int length, int flags) override;
  int Wait(std::vector<SOCKET>* readList, std::vector<SOCKET>* writeList, int timeoutMilliseconds,
           std::vector<SOCKET>* errorList) override;
  int Shutdown(SOCKET s, int how) override;
  int Close(SOCKET s) override;
  void LocalName(SOCKET s, int& family, int& port, std::string& address) override;
  void PeerName(SOCKET s, int& family, int& port, std::string& address) override;
  int SetOption(SOCKET s, int level, int option, const void* value, int length) override;
  int IOControl(SOCKET s, int32_t command, uint32_t& argument) override;
  uint16_t HostToNetwork(uint16_t value) override;
  uint16_t NetworkToHost(uint16_t value) override;
  uint32_t HostToNetwork(uint32_t value) override;
  uint32_t NetworkToHost(uint32_t value) override;
  int WSGetLastError() override;

 protected:
  std::string HostByName(const std::string& host) override;
  std::string ErrorDescription(int32_t number) override;

 private:
  SOCKADDR_IN SocketAddress(int family, int port, const std::string& address);
  void ReadAddress(const SOCKADDR_IN& in, int& family, int& port, std::string& address);

  TWinSockBinding& binding_;
};

}  // namespace pelmorix
