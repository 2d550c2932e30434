#include "http/io_handler_ssl_socket.h"

#include "http/connection_exceptions.h"
#include "http/ssl_exceptions.h"

namespace pelmorix {

static_assert(TIdTlsSession::kMustWait == TIdIOHandler::kNothingWaiting);

TIdSSLIOHandlerSocket::TIdSSLIOHandlerSocket(TIdSocketLayer& layer) : TIdIOHandlerSocket(layer) {}

TIdSSLIOHandlerSocket::~TIdSSLIOHandlerSocket() = default;

void TIdSSLIOHandlerSocket::SetVerifyPeer(bool verify) {
  settings_.VerifyPeer = verify;
  context_.reset();
}

void TIdSSLIOHandlerSocket::SetCAFile(const std::string& fileName) {
  settings_.CAFile = fileName;
  context_.reset();
}

void TIdSSLIOHandlerSocket::EstablishTo(const std::string& host, int port, int timeoutMilliseconds,
                                        int localPortHigh, int localPortLow, int localPort,
                                        const std::string& localIP) {
  session_.reset();
  streamCut_ = false;
  host_ = host;
  connectTimeout_ = timeoutMilliseconds;
  TIdIOHandlerSocket::EstablishTo(host, port, timeoutMilliseconds, localPortHigh, localPortLow,
                                  localPort, localIP);
}

TIdTlsPeer TIdSSLIOHandlerSocket::PeerOf(const std::string& host) {
  // An address in a short form (127.1) is checked in the dotted form certificates hold.
  if (Stack().IsAddressText(host)) return {Stack().AddressToText(Stack().ParseAddress(host)), true};
  return {host, false};
}

void TIdSSLIOHandlerSocket::AfterConnect(int readTimeoutMilliseconds) {
  if (passThrough_) return;
  // The session waits on the socket itself, bounded by the read time-out.
  if (!Socket()->SetNonBlocking()) {
    throw EIdSSLConnectError("SSL handshake failed: the socket cannot be made non-blocking");
  }
  if (context_ == nullptr) context_ = NewTlsContext(settings_);
  // A revocation lookup of the certificate check counts as part of the connect.
  const int lookupTimeout = connectTimeout_ > 0 ? connectTimeout_ : 0;
  session_ = context_->NewSession(Stack(), Socket()->Handle(), PeerOf(host_), lookupTimeout);
  const int timeout = readTimeoutMilliseconds == 0 ? -2 : readTimeoutMilliseconds;
  for (TIdTlsWait wait = session_->Handshake(); wait != TIdTlsWait::None;
       wait = session_->Handshake()) {
    if (!WaitFor(wait, timeout)) throw EIdReadTimeout("Read Timeout");
  }
}

bool TIdSSLIOHandlerSocket::WaitFor(TIdTlsWait wait, int timeoutMilliseconds) {
  if (wait == TIdTlsWait::Writable) {
    Socket()->WaitWritable();
    return true;
  }
  return Socket()->WaitReadable(timeoutMilliseconds);
}

void TIdSSLIOHandlerSocket::ShutTransport() {
  if (session_ != nullptr && HasSocket()) session_->Close();
  session_.reset();
  TIdIOHandlerSocket::ShutTransport();
}

bool TIdSSLIOHandlerSocket::WaitReadable(int timeoutMilliseconds) {
  if (Encrypting() && session_->HasDecrypted()) return true;
  return TIdIOHandlerSocket::WaitReadable(timeoutMilliseconds);
}

int TIdSSLIOHandlerSocket::ReadWaiting(void* buffer, int length) {
  char* into = static_cast<char*>(buffer);
  int total = 0;
  // A receive of RecvBufferSize bytes takes as many records as the session already holds.
  for (;;) {
    TIdTlsWait wait = TIdTlsWait::None;
    const int read = session_->Read(into + total, length - total, wait);
    if (read == TIdTlsSession::kMustWait && wait == TIdTlsWait::Writable) {
      Socket()->WaitWritable();
      continue;
    }
    if (read == 0) streamCut_ = session_->Cut();
    if (read <= 0) return total > 0 ? total : read;
    total += read;
    if (total == length || !session_->HasBuffered()) return total;
  }
}

int TIdSSLIOHandlerSocket::ReceiveSome(void* buffer, int length) {
  if (!Encrypting()) return TIdIOHandlerSocket::ReceiveSome(buffer, length);
  if (!HasSocket()) throw EIdClosedSocket("Disconnected.");
  // A readable socket may hold only part of a record: nothing to hand out yet, and the
  // connection waits again within its read time-out.
  return ReadWaiting(buffer, length);
}

int TIdSSLIOHandlerSocket::ReceiveWaiting(void* buffer, int length) {
  if (!Encrypting()) return TIdIOHandlerSocket::ReceiveWaiting(buffer, length);
  if (!HasSocket()) return kNothingWaiting;
  return ReadWaiting(buffer, length);
}

int TIdSSLIOHandlerSocket::SendSome(const void* buffer, int length) {
  if (!Encrypting()) return TIdIOHandlerSocket::SendSome(buffer, length);
  if (!HasSocket()) throw EIdClosedSocket("Disconnected.");
  for (;;) {
    TIdTlsWait wait = TIdTlsWait::None;
    const int sent = session_->Write(buffer, length, wait);
    if (sent != TIdTlsSession::kMustWait) return sent;
    WaitFor(wait, -2);
  }
}

}  // namespace pelmorix
