#pragma once

#include <openssl/ssl.h>

#include "http/tls_openssl/socket_bio.h"
#include "http/tls_session.h"

namespace pelmorix {

// A TLS session of OpenSSL over a socket BIO.
class TOpenSslSession : public TIdTlsSession {
 public:
  TOpenSslSession(SSL_CTX* context, const TSocketBioMethod& bioMethod, TIdStack& stack,
                  SOCKET socket, const TIdTlsPeer& peer);
  ~TOpenSslSession() override;

  TIdTlsWait Handshake() override;
  int Read(void* buffer, int length, TIdTlsWait& wait) override;
  int Write(const void* buffer, int length, TIdTlsWait& wait) override;
  bool HasDecrypted() override { return SSL_pending(ssl_) > 0; }
  bool HasBuffered() override { return SSL_has_pending(ssl_) == 1; }
  void Close() override;
  bool Cut() override { return cut_; }

 private:
  // Turns a failed call into a wait, a close (0), SOCKET_ERROR or a raised failure.
  int Outcome(int result, const char* failure, TIdTlsWait& wait);
  [[noreturn]] void RaiseHandshakeFailure(int error);

  SSL* ssl_ = nullptr;
  bool broken_ = false;  // after a fatal error no closing alert may be sent
  bool cut_ = false;
};

}  // namespace pelmorix
