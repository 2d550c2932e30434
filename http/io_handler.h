#pragma once

#include <string>

#include "http/id_component.h"

namespace pelmorix {

// The transport a connection reads and writes through.
class TIdIOHandler : public TIdComponent {
 public:
  using TIdComponent::TIdComponent;

  // Opens the transport for a new connection.
  virtual void PrepareTransport() = 0;
  // Creates the socket, binds it locally, resolves the host and connects; a time-out other than
  // -1 and 0 is carried out by a connect worker.
  virtual void EstablishTo(const std::string& host, int port, int timeoutMilliseconds,
                           int localPortHigh, int localPortLow, int localPort,
                           const std::string& localIP) = 0;
  // True while the transport holds an allocated socket.
  // Runs once the socket is connected, before the connection counts as made: the SSL
  // transport's handshake, each of its waits bounded by the connection's read time-out
  // (0: no limit).
  virtual void AfterConnect(int /*readTimeoutMilliseconds*/) {}
  // True while the transport holds an allocated socket.
  virtual bool HasSocket() = 0;
  virtual void ShutTransport() = 0;
  virtual bool WaitReadable(int timeoutMilliseconds) = 0;
  // One receive or send call, raw result; without a socket EIdClosedSocket "Disconnected.".
  virtual int ReceiveSome(void* buffer, int length) = 0;
  virtual int SendSome(const void* buffer, int length) = 0;
  // One receive call that takes only bytes already waiting, so the connection can skip the wait
  // for readability while data keeps coming: kNothingWaiting when there are none, or when the
  // transport cannot tell without waiting. Otherwise the raw result, as ReceiveSome.
  virtual int ReceiveWaiting(void* /*buffer*/, int /*length*/) { return kNothingWaiting; }
  static constexpr int kNothingWaiting = -2;
  // True when the stream ended without the sender's closing mark (TLS without its closing
  // alert), so what was read until that end may be only part of what was sent.
  virtual bool StreamCut() const { return false; }

  bool IsOpen() const { return open_; }

 protected:
  bool open_ = false;
};

}  // namespace pelmorix
