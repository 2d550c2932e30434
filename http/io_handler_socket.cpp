#include "http/io_handler_socket.h"

#include "http/connect_thread.h"
#include "http/connection_exceptions.h"
#include "http/socket_exceptions.h"

namespace pelmorix {

// The socket's answer passes through as the transport's.
static_assert(TIdSocketHandle::kNothingWaiting == TIdIOHandler::kNothingWaiting);

TIdIOHandlerSocket::TIdIOHandlerSocket(TIdSocketLayer& layer) : TIdIOHandler(layer) {}

TIdIOHandlerSocket::~TIdIOHandlerSocket() { socket_.reset(); }

TIdSocksInfo& TIdIOHandlerSocket::SocksInfo() {
  if (socksInfo_ == nullptr) {
    ownSocksInfo_ = std::make_unique<TIdSocksInfo>(SocketLayer());
    socksInfo_ = ownSocksInfo_.get();
  }
  return *socksInfo_;
}

void TIdIOHandlerSocket::SetSocksInfo(TIdSocksInfo* socksInfo) {
  if (socksInfo != ownSocksInfo_.get()) ownSocksInfo_.reset();
  socksInfo_ = socksInfo;
}

void TIdIOHandlerSocket::PrepareTransport() {
  open_ = true;
  if (socket_ != nullptr) {
    socket_->ResetFields(true);
  } else {
    socket_ = std::make_unique<TIdSocketHandle>(Stack());
  }
}

void TIdIOHandlerSocket::EstablishTo(const std::string& host, int port, int timeoutMilliseconds,
                                     int localPortHigh, int localPortLow, int localPort,
                                     const std::string& localIP) {
  if (SocksInfo().Version != svNoSocks) {
    // FIXME: the SOCKS handshakes are not built; this system never sets a proxy version.
    throw EIdNotSupported("SOCKS proxy connections are not supported.");
  }
  socket_->CreateHandle(WS_SOCK_STREAM, 0);
  socket_->SetIP(localIP);
  socket_->SetPort(localPort);
  socket_->SetClientPortMin(localPortLow);
  socket_->SetClientPortMax(localPortHigh);
  socket_->BindLocal();

  if (!Stack().IsAddressText(host)) ReportStatus(hsResolving, host);
  socket_->SetPeerAddress(Stack().ResolveHostText(host), port);
  if (socket_->HandleAllocated()) {
    socket_->SetOption(WS_IPPROTO_TCP, WS_TCP_NODELAY, useNagle_ ? 0 : 1);
  }
  ReportStatus(hsConnecting, socket_->PeerIP());

  if (timeoutMilliseconds != -1 && timeoutMilliseconds != 0) {
    WaitForConnect(timeoutMilliseconds);
  } else {
    Stack().CheckResult(socket_->ConnectToPeer(WS_AF_INET));
  }
  // Connected: from here a receive can take what is waiting without a wait before every call.
  // A socket that stays blocking only loses that shortcut.
  socket_->SetNonBlocking();
}

void TIdIOHandlerSocket::WaitForConnect(int timeoutMilliseconds) {
  TIdConnectThread worker(Stack(), *socket_);
  worker.Start();

  const int slice = kConnectSliceMilliseconds;
  const bool noLimit = timeoutMilliseconds == -2;
  int remaining = noLimit ? slice + 1 : timeoutMilliseconds;
  // Each slice ends early when the worker finishes, so a connect costs what it takes.
  while (remaining > slice) {
    const bool finished = worker.WaitTerminated(slice);
    remaining = noLimit ? slice + 1 : remaining - slice;
    if (finished) {
      remaining = 0;
      break;
    }
  }
  if (remaining > 0) worker.WaitTerminated(remaining);

  if (!worker.Terminated()) {
    // Closing the socket makes the worker's blocking connect fail with an error it ignores.
    worker.Terminate();
    ShutTransport();
    worker.WaitFor();
    throw EIdConnectTimeout("Connect timed out.");
  }
  worker.WaitFor();
  if (!worker.FailureMessage().empty()) {
    if (worker.ErrorNumber() != 0) {
      throw EIdSocketError(worker.ErrorNumber(), worker.FailureMessage());
    }
    throw EIdConnectException(worker.FailureMessage());
  }
}

bool TIdIOHandlerSocket::HasSocket() { return socket_ != nullptr && socket_->HandleAllocated(); }

void TIdIOHandlerSocket::ShutTransport() {
  open_ = false;
  if (socket_ != nullptr) socket_->ShutAndClose();
}

bool TIdIOHandlerSocket::WaitReadable(int timeoutMilliseconds) {
  if (socket_ == nullptr) throw EIdConnClosedGracefully("Connection Closed Gracefully.");
  return socket_->WaitReadable(timeoutMilliseconds);
}

int TIdIOHandlerSocket::ReceiveSome(void* buffer, int length) {
  if (!HasSocket()) throw EIdClosedSocket("Disconnected.");
  return socket_->ReceiveSome(buffer, length);
}

int TIdIOHandlerSocket::ReceiveWaiting(void* buffer, int length) {
  // Without a socket the wait that follows raises the connection's own message.
  if (!HasSocket()) return kNothingWaiting;
  return socket_->ReceiveWaiting(buffer, length);
}

int TIdIOHandlerSocket::SendSome(const void* buffer, int length) {
  if (!HasSocket()) throw EIdClosedSocket("Disconnected.");
  return socket_->SendSome(buffer, length);
}

}  // namespace pelmorix
