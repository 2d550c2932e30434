#pragma once

#include <memory>
#include <string>

#include "http/io_handler_socket.h"
#include "http/tls_session.h"

namespace pelmorix {

// The SSL transport: the socket transport's connect, then a TLS handshake (TLS 1.2 or 1.3,
// the server's certificate checked against the trust store and the host name), then every
// receive and send through the TLS session. While PassThrough is set it is the plain socket
// transport; the HTTP client clears it for "https" URLs and sets it for the others.
class TIdSSLIOHandlerSocket : public TIdIOHandlerSocket {
 public:
  explicit TIdSSLIOHandlerSocket(TIdSocketLayer& layer = TIdSocketLayer::Process());
  ~TIdSSLIOHandlerSocket() override;

  bool PassThrough() const { return passThrough_; }
  void SetPassThrough(bool passThrough) { passThrough_ = passThrough; }
  // Verification of the certificate chain, its dates and the host name; on by default.
  bool VerifyPeer() const { return settings_.VerifyPeer; }
  void SetVerifyPeer(bool verify);
  // Authorities to trust instead of the system's trust store (PEM); empty: the system's.
  const std::string& CAFile() const { return settings_.CAFile; }
  void SetCAFile(const std::string& fileName);

  void EstablishTo(const std::string& host, int port, int timeoutMilliseconds, int localPortHigh,
                   int localPortLow, int localPort, const std::string& localIP) override;
  void AfterConnect(int readTimeoutMilliseconds) override;
  void ShutTransport() override;
  bool WaitReadable(int timeoutMilliseconds) override;
  int ReceiveSome(void* buffer, int length) override;
  int ReceiveWaiting(void* buffer, int length) override;
  int SendSome(const void* buffer, int length) override;
  bool StreamCut() const override { return streamCut_; }

 private:
  bool Encrypting() const { return session_ != nullptr; }
  TIdTlsPeer PeerOf(const std::string& host);
  // False when the socket did not become ready in time (-2: no limit).
  bool WaitFor(TIdTlsWait wait, int timeoutMilliseconds);
  // Decrypted bytes up to length as far as the session has them without waiting on the socket;
  // kNothingWaiting when it has none.
  int ReadWaiting(void* buffer, int length);

  bool passThrough_ = true;
  TIdTlsSettings settings_;
  std::string host_;
  int connectTimeout_ = 0;
  std::unique_ptr<TIdTlsContext> context_;  // made at the first handshake, kept for the next
  std::unique_ptr<TIdTlsSession> session_;
  bool streamCut_ = false;  // kept past the session, which ends with the connection
};

}  // namespace pelmorix
