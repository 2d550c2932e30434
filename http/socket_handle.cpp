#include "http/socket_handle.h"

#include "base/format.h"
#include "http/socket_exceptions.h"

namespace pelmorix {

TIdSocketHandle::TIdSocketHandle(TIdStack& stack) : stack_(stack) { ResetFields(true); }

TIdSocketHandle::~TIdSocketHandle() {
  try {
    ShutAndClose();
  } catch (...) {
    // Only a library that is no longer loaded fails here, and it holds no socket any more.
  }
}

void TIdSocketHandle::CreateHandle(int type, int protocol) {
  ShutAndClose();
  handle_.store(stack_.NewSocket(type, protocol));
  allocated_.store(true);
  nonBlocking_ = false;
}

void TIdSocketHandle::ShutAndClose() {
  if (!allocated_.exchange(false)) return;
  const SOCKET s = handle_.load();
  stack_.Shutdown(s, SD_SEND);
  stack_.Close(s);
}

void TIdSocketHandle::ResetFields(bool resetLocal) {
  allocated_.store(false);
  handle_.store(INVALID_SOCKET);
  nonBlocking_ = false;
  peerIP_.clear();
  peerPort_ = 0;
  if (resetLocal) {
    ip_.clear();
    port_ = 0;
  }
}

void TIdSocketHandle::BindLocal() {
  if (port_ != 0 || clientPortMin_ == 0 || clientPortMax_ == 0) {
    if (!TryBindLocal()) {
      throw EIdCouldNotBindSocket("Could not bind socket. Address and port are already in use.");
    }
    return;
  }
  if (clientPortMax_ < clientPortMin_) {
    throw EIdInvalidPortRange(
        Format("Invalid Port Range (%d - %d)", clientPortMin_, clientPortMax_));
  }
  BindInRange();
}

bool TIdSocketHandle::TryBindLocal() {
  if (stack_.CheckResult(stack_.Bind(Handle(), WS_AF_INET, port_, ip_), {WSAEADDRINUSE})) {
    return false;
  }
  int family;
  stack_.LocalName(Handle(), family, port_, ip_);
  return true;
}

void TIdSocketHandle::BindInRange() {
  for (int port = clientPortMax_; port >= clientPortMin_; --port) {
    port_ = port;
    if (TryBindLocal()) return;
  }
  throw EIdCanNotBindPortInRange(
      Format("Can not bind in port range (%d - %d)", clientPortMin_, clientPortMax_));
}

void TIdSocketHandle::SetPeerAddress(const std::string& address, int port) {
  peerIP_ = address;
  peerPort_ = port;
}

int TIdSocketHandle::ConnectToPeer(int family) {
  const SOCKET s = Handle();
  const int result = stack_.Connect(s, family, peerPort_, peerIP_);
  if (result != SOCKET_ERROR) {
    int localFamily;
    stack_.LocalName(s, localFamily, port_, ip_);
    stack_.PeerName(s, localFamily, peerPort_, peerIP_);
  }
  return result;
}

bool TIdSocketHandle::WouldBlock(int result) {
  return nonBlocking_ && result == SOCKET_ERROR && stack_.WSGetLastError() == WSAEWOULDBLOCK;
}

int TIdSocketHandle::ReceiveSome(void* buffer, int length) {
  for (;;) {
    const int received = stack_.Receive(Handle(), buffer, length, 0);
    if (!WouldBlock(received)) return received;
    WaitReadable(-2);
  }
}

int TIdSocketHandle::SendSome(const void* buffer, int length) {
  for (;;) {
    const int sent = stack_.Send(Handle(), buffer, length, 0);
    if (!WouldBlock(sent)) return sent;
    WaitWritable();
  }
}

bool TIdSocketHandle::SetNonBlocking() {
  uint32_t on = 1;
  nonBlocking_ = stack_.IOControl(Handle(), WS_FIONBIO, on) != SOCKET_ERROR;
  return nonBlocking_;
}

int TIdSocketHandle::ReceiveWaiting(void* buffer, int length) {
  if (!nonBlocking_) return kNothingWaiting;
  const int received = stack_.Receive(Handle(), buffer, length, 0);
  return WouldBlock(received) ? kNothingWaiting : received;
}

void TIdSocketHandle::SetOption(int level, int option, int32_t value) {
  stack_.CheckResult(stack_.SetOption(Handle(), level, option, &value, sizeof(value)));
}

bool TIdSocketHandle::WaitReadable(int timeoutMilliseconds) {
  if (!HandleAllocated()) throw EIdConnClosedGracefully("Connection Closed Gracefully.");
  readList_.assign(1, Handle());
  return stack_.Wait(&readList_, nullptr, timeoutMilliseconds, nullptr) == 1;
}

void TIdSocketHandle::WaitWritable() {
  if (!HandleAllocated()) throw EIdConnClosedGracefully("Connection Closed Gracefully.");
  writeList_.assign(1, Handle());
  stack_.Wait(nullptr, &writeList_, -2, nullptr);
}

}  // namespace pelmorix
