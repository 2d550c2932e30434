#pragma once

#include <string>

#include "http/tcp_connection.h"

namespace pelmorix {

// A TCP connection that connects itself to Host:Port.
class TIdTCPClient : public TIdTCPConnection {
 public:
  explicit TIdTCPClient(TIdSocketLayer& layer = TIdSocketLayer::Process());

  const std::string& Host() const { return host_; }
  virtual void SetHost(const std::string& host) { host_ = host; }
  int Port() const { return port_; }
  virtual void SetPort(int port) { port_ = port; }
  const std::string& BoundIP() const { return boundIP_; }
  void SetBoundIP(const std::string& ip) { boundIP_ = ip; }
  int BoundPort() const { return boundPort_; }
  void SetBoundPort(int port) { boundPort_ = port; }
  int LocalPortLow() const { return localPortLow_; }
  void SetLocalPortLow(int port) { localPortLow_ = port; }
  int LocalPortHigh() const { return localPortHigh_; }
  void SetLocalPortHigh(int port) { localPortHigh_ = port; }

  TIdNotifyEvent OnConnected;

  // Connects, with a connect time-out in ms: -1 or 0 connect on the caller's thread without
  // limit, -2 waits on a worker without limit. Raises EIdInvalidPort for a Port outside 1 to
  // 65535 before anything else, EIdAlreadyConnected while connected; any later failure drops
  // the socket and propagates, and the next call starts over.
  virtual void OpenConnection(int timeoutMilliseconds = -1);

 private:
  std::string host_;
  int port_ = 0;
  std::string boundIP_;
  int boundPort_ = 0;
  int localPortLow_ = 0;
  int localPortHigh_ = 0;
};

}  // namespace pelmorix
