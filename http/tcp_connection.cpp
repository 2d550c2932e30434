#include "http/tcp_connection.h"

#include "http/connection_exceptions.h"
#include "http/io_handler_socket.h"
#include "http/socket_exceptions.h"

namespace pelmorix {

TIdTCPConnection::TIdTCPConnection(TIdSocketLayer& layer) : TIdComponent(layer) {
  // Read progress counts bytes as they are taken out of the input buffer.
  inputBuffer_.BytesConsumed = [this](TIdSimpleBuffer*, int64_t count) {
    AdvanceWork(wmRead, count);
  };
}

TIdTCPConnection::~TIdTCPConnection() {
  try {
    DropSocket();
  } catch (...) {
    // Closing ignores the library's results; only an unloaded library can fail here.
  }
}

void TIdTCPConnection::SetIOHandler(TIdIOHandler* ioHandler) {
  if (ioHandler == ioHandler_) return;
  ownIOHandler_.reset();
  ioHandler_ = ioHandler;
}

void TIdTCPConnection::CreateOwnTransport() {
  auto transport = std::make_unique<TIdIOHandlerSocket>(SocketLayer());
  transport->OnStatus = OnStatus;
  ioHandler_ = transport.get();
  ownIOHandler_ = std::move(transport);
}

void TIdTCPConnection::DoOnDisconnected() {
  if (OnDisconnected) OnDisconnected(this);
}

bool TIdTCPConnection::IsConnected() {
  CheckPeerClosed(false, false);
  return ioHandler_ != nullptr && ioHandler_->HasSocket();
}

void TIdTCPConnection::DropSocket() {
  if (ioHandler_ != nullptr) ioHandler_->ShutTransport();
}

void TIdTCPConnection::CloseConnection() {
  const bool wasConnected = IsConnected();
  if (wasConnected) {
    ReportStatus(hsDisconnecting);
    DropSocket();
  }
  if (ownIOHandler_ != nullptr) {
    ioHandler_ = nullptr;
    ownIOHandler_.reset();
  }
  if (wasConnected) {
    DoOnDisconnected();
    ReportStatus(hsDisconnected);
  }
}

void TIdTCPConnection::CheckPeerClosed(bool raiseIfClosed, bool ignoreBuffered) {
  if (ioHandler_ == nullptr) return;
  bool closed;
  if (closedByPeer_) {
    if (ioHandler_->HasSocket()) {
      DropSocket();
      ReportStatus(hsDisconnected);
      DoOnDisconnected();
    }
    closed = true;
  } else {
    closed = !ioHandler_->HasSocket();
  }
  if (closed && raiseIfClosed && (inputBuffer_.Size() == 0 || ignoreBuffered)) {
    throw EIdConnClosedGracefully("Connection Closed Gracefully.");
  }
}

void TIdTCPConnection::ProbePeerClosed(bool raiseIfClosed, int waitMilliseconds) {
  FillInput(raiseIfClosed, waitMilliseconds, false);
}

void TIdTCPConnection::ResetInput() {
  inputBuffer_.EmptyBuffer();
  closedByPeer_ = false;
}

// One receive call straight into the free room at the end of the input buffer.
bool TIdTCPConnection::ReceiveIntoInput(bool raiseIfClosed, int& received, bool onlyWaiting) {
  if (ioHandler_ == nullptr) {
    if (raiseIfClosed) throw EIdNotConnected("Not Connected");
    received = 0;
    return true;
  }
  const int length = recvBufferSize_ > 0 ? recvBufferSize_ : 1;
  char* room = inputBuffer_.ReserveTail(length);
  received = onlyWaiting ? ioHandler_->ReceiveWaiting(room, length)
                         : ioHandler_->ReceiveSome(room, length);
  if (received == TIdIOHandler::kNothingWaiting) {
    received = 0;
    return false;
  }
  closedByPeer_ = received == 0;
  if (received == SOCKET_ERROR) {
    // A connection aborted or shut down under the receive is dropped; its error shows only
    // when nothing received is left to read.
    if (Stack().CheckResult(received, {WSAESHUTDOWN, WSAECONNABORTED})) {
      DropSocket();
      if (inputBuffer_.Size() == 0) Stack().RaiseError(Stack().LastErrorNumber());
    }
    received = 0;
    return true;
  }
  if (received > 0) {
    if (asciiFilter_) {
      for (int i = 0; i < received; ++i) room[i] = static_cast<char>(room[i] & 0x7F);
    }
    inputBuffer_.CommitTail(received);
  }
  return true;
}

int TIdTCPConnection::FillInput(bool raiseIfClosed, int timeoutMilliseconds, bool raiseOnTimeout) {
  if (timeoutMilliseconds == -1) timeoutMilliseconds = readTimeout_ == 0 ? -2 : readTimeout_;
  CheckPeerClosed(raiseIfClosed, false);
  if (!IsConnected()) {
    if (raiseIfClosed) throw EIdNotConnected("Not Connected");
    return 0;
  }
  int received;
  do {
    if (!ReceiveIntoInput(raiseIfClosed, received, true)) {
      if (!ioHandler_->WaitReadable(timeoutMilliseconds)) {
        if (raiseOnTimeout) throw EIdReadTimeout("Read Timeout");
        return -1;
      }
      ReceiveIntoInput(raiseIfClosed, received, false);
    }
    CheckPeerClosed(raiseIfClosed, false);
  } while (received == 0 && IsConnected());
  return received;
}

}  // namespace pelmorix
