#include "tests/support/loopback_targets.h"

#include <stdexcept>

#include "tests/support/test_sockets.h"

namespace pelmorix {
namespace {

constexpr int kMostFillers = 16;
constexpr int kHangingAfterMs = 300;

}  // namespace

uint16_t UnusedLoopbackPort() {
  const TTestSocketUse socketUse;
  const TTestSocket socket = BoundLoopbackSocket();
  if (socket == kNoTestSocket) throw std::runtime_error("cannot bind a loopback socket");
  const uint16_t port = LocalPort(socket);
  CloseTestSocket(socket);
  return port;
}

THangingConnectTarget::THangingConnectTarget() {
  listener_ = BoundLoopbackSocket();
  if (listener_ == kNoTestSocket || !ListenOn(listener_, 0)) {
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  port_ = LocalPort(listener_);
  // Connect until one attempt stays unanswered: from then on the backlog is full.
  for (int i = 0; i < kMostFillers && !saturated_; ++i) {
    const TTestSocket filler = BoundLoopbackSocket(0, true);
    fillers_.push_back(filler);
    if (ConnectLoopback(filler, port_) != 0) continue;
    TSocketWait wait{filler, true};
    saturated_ = WaitForSockets(&wait, 1, kHangingAfterMs) == 0;
  }
}

THangingConnectTarget::~THangingConnectTarget() {
  for (const TTestSocket filler : fillers_) CloseTestSocket(filler);
  CloseTestSocket(listener_);
}

}  // namespace pelmorix
