#pragma once

#include <memory>
#include <string>

#include "http/tls_schannel/schannel_api.h"
#include "http/tls_schannel/schannel_credentials.h"

namespace pelmorix {

// A TLS session of the Schannel package over a non-blocking socket of the socket stack. The
// package only transforms buffers; this class moves them: received records wait in received_,
// records and handshake messages to send in pending_, decrypted bytes not yet handed out in
// decrypted_.
class TSchannelSession : public TIdTlsSession {
 public:
  TSchannelSession(std::shared_ptr<TSchannelCredentials> credentials, TIdStack& stack,
                   SOCKET socket, const TIdTlsPeer& peer, int lookupTimeoutMilliseconds);
  ~TSchannelSession() override;
  TSchannelSession(const TSchannelSession&) = delete;
  TSchannelSession& operator=(const TSchannelSession&) = delete;

  TIdTlsWait Handshake() override;
  int Read(void* buffer, int length, TIdTlsWait& wait) override;
  int Write(const void* buffer, int length, TIdTlsWait& wait) override;
  // A closing alert already taken in counts, so a wait on the socket does not hold up the close.
  bool HasDecrypted() override { return decryptedStart_ < decrypted_.size() || peerClosed_; }
  bool HasBuffered() override { return HasDecrypted() || receivedStart_ < received_.size(); }
  void Close() override;
  bool Cut() override { return cut_; }

 private:
  enum class TSocketResult { Done, MustWait, Closed, Failed };

  // One call of the package's handshake with the received bytes; its message goes to pending_.
  SECURITY_STATUS HandshakeStep(SecBuffer* input, ULONG inputCount);
  // A step with the received bytes as its input; what the step left over stays in received_.
  SECURITY_STATUS HandshakeWithReceived();
  // Checks the server's certificate once the package has it; required: it must have it by now.
  void CheckCertificate(bool required);
  // Refuses a session that came out as a protocol other than TLS 1.2 or 1.3.
  void CheckProtocol();
  [[noreturn]] void FailHandshake(const std::string& reason);
  // Decrypts the first whole record of received_ into decrypted_; false when none is whole.
  // Sets peerClosed_ at the closing alert.
  bool DecryptRecord();
  // One step of a handshake the server began after the handshake (a TLS 1.3 session ticket or
  // key update, a TLS 1.2 renegotiation): received_ goes to the package, an answer to pending_.
  // True when the step needs more bytes of the server.
  bool RenegotiationStep();
  // The session as the finished renegotiation left it: its record sizes, and after a new
  // handshake its protocol and certificate.
  void AfterRenegotiation();
  void Encrypt(const char* data, int length);
  TSocketResult SendPending();
  TSocketResult ReceiveMore();
  // Drops the bytes before receivedStart_, so received_ starts with the next record.
  void CompactReceived();
  int HandOut(void* buffer, int length);

  std::shared_ptr<TSchannelCredentials> credentials_;
  const SecurityFunctionTableA& sspi_;
  TIdStack& stack_;
  SOCKET socket_;
  TIdTlsPeer peer_;
  int lookupTimeout_;
  CtxtHandle context_{};
  bool hasContext_ = false;
  bool needInput_ = false;  // the handshake waits for more bytes of the server
  bool serverSpeaksTls_ = false;
  bool established_ = false;
  bool certificateChecked_ = false;
  bool broken_ = false;      // after a failure no closing alert may be sent
  bool peerClosed_ = false;  // the server's closing alert arrived
  bool cut_ = false;         // the stream ended before it
  bool renegotiating_ = false;
  bool renegotiationHandshake_ = false;  // the renegotiation went back and forth with the server
  SecPkgContext_StreamSizes sizes_{};
  std::string received_;
  size_t receivedStart_ = 0;  // the next record; the handshake keeps it at 0
  std::string pending_;
  size_t pendingStart_ = 0;
  std::string decrypted_;
  size_t decryptedStart_ = 0;
  bool writing_ = false;  // pending_ holds the records of a Write that will be called again
};

}  // namespace pelmorix
