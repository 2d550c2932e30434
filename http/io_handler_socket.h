#pragma once

#include <memory>

#include "http/io_handler.h"
#include "http/socket_handle.h"
#include "http/socks_info.h"

namespace pelmorix {

// The socket transport: one TIdSocketHandle, reporting its resolving and connecting statuses
// through its own OnStatus.
class TIdIOHandlerSocket : public TIdIOHandler {
 public:
  explicit TIdIOHandlerSocket(TIdSocketLayer& layer = TIdSocketLayer::Process());
  ~TIdIOHandlerSocket() override;

  void PrepareTransport() override;
  void EstablishTo(const std::string& host, int port, int timeoutMilliseconds, int localPortHigh,
                   int localPortLow, int localPort, const std::string& localIP) override;
  bool HasSocket() override;
  void ShutTransport() override;
  bool WaitReadable(int timeoutMilliseconds) override;
  int ReceiveSome(void* buffer, int length) override;
  int SendSome(const void* buffer, int length) override;
  int ReceiveWaiting(void* buffer, int length) override;

  // Waits for a connect on a worker thread in 125 ms slices; -2 waits without limit.
  void WaitForConnect(int timeoutMilliseconds);

  // Null until the first PrepareTransport.
  TIdSocketHandle* Socket() { return socket_.get(); }
  bool UseNagle() const { return useNagle_; }
  void SetUseNagle(bool useNagle) { useNagle_ = useNagle; }
  // Created on first use unless one is assigned; an assigned one is only referenced.
  TIdSocksInfo& SocksInfo();
  void SetSocksInfo(TIdSocksInfo* socksInfo);

  static constexpr int kConnectSliceMilliseconds = 125;

 private:
  std::unique_ptr<TIdSocketHandle> socket_;
  bool useNagle_ = true;
  std::unique_ptr<TIdSocksInfo> ownSocksInfo_;
  TIdSocksInfo* socksInfo_ = nullptr;
};

}  // namespace pelmorix
