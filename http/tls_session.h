#pragma once

#include <memory>
#include <string>

#include "http/id_stack.h"

namespace pelmorix {

// The TLS engine behind the SSL transport. The build picks one implementation of
// NewTlsContext: OpenSSL on Linux, Schannel on Windows.

struct TIdTlsSettings {
  bool VerifyPeer = true;  // the certificate chain, its dates and the host name
  std::string CAFile;      // trusted authorities in PEM; empty: the system's trust store
};

// The server a session talks to: its name for SNI and the name check, or its IPv4 address in
// dotted form, which is checked against the certificate's addresses and never sent as SNI.
struct TIdTlsPeer {
  std::string Name;
  bool IsAddress = false;
};

// What the socket must become before a session call that could not go on is made again.
enum class TIdTlsWait { None, Readable, Writable };

// Why a server certificate was refused.
enum class TIdCertificateProblem { Untrusted, Expired, NotYetValid, NameMismatch, Revoked, Other };

// "SSL certificate verify failed: " and the reason; Other takes the engine's own text.
std::string CertificateProblemText(TIdCertificateProblem problem, const std::string& detail);

// One TLS session over a connected non-blocking socket; it reads and writes through the socket
// stack, so socket errors keep their WinSock numbers.
class TIdTlsSession {
 public:
  virtual ~TIdTlsSession() = default;

  // One step of the handshake: None once it is done. A failure raises EIdSSLConnectError, or
  // EIdSSLCertificateError when the certificate was refused.
  virtual TIdTlsWait Handshake() = 0;
  // Decrypted bytes; 0 when the peer closed (its closing alert, or the end of the stream, which
  // Cut then tells); SOCKET_ERROR for a failed socket call, whose number the stack holds;
  // kMustWait with the wait to make. A record that does not decrypt raises EIdSSLSessionError.
  virtual int Read(void* buffer, int length, TIdTlsWait& wait) = 0;
  // All length bytes, SOCKET_ERROR or kMustWait, as Read; call again with the same bytes.
  virtual int Write(const void* buffer, int length, TIdTlsWait& wait) = 0;
  // True when decrypted bytes are waiting in the session, so a wait on the socket would miss them.
  virtual bool HasDecrypted() = 0;
  // True when the session holds received bytes of any kind, so a Read may go on without the socket.
  virtual bool HasBuffered() = 0;
  // Sends the closing alert when the session is sound; never waits.
  virtual void Close() = 0;
  // True once a Read found the end of the stream without the peer's closing alert: what came
  // before it may be only part of what the peer sent.
  virtual bool Cut() = 0;

  static constexpr int kMustWait = -2;
};

// The engine's settings and loaded trust store, shared by the sessions of one transport.
class TIdTlsContext {
 public:
  virtual ~TIdTlsContext() = default;
  // lookupTimeoutMilliseconds bounds, all together, what the certificate check fetches from
  // the network (revocation lists, OCSP answers) where the engine does; 0: the system's bound.
  virtual std::unique_ptr<TIdTlsSession> NewSession(TIdStack& stack, SOCKET socket,
                                                    const TIdTlsPeer& peer,
                                                    int lookupTimeoutMilliseconds) = 0;
};

// A CA file that cannot be read raises EIdSSLConnectError.
std::unique_ptr<TIdTlsContext> NewTlsContext(const TIdTlsSettings& settings);

}  // namespace pelmorix
