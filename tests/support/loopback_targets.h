#pragma once

#include <cstdint>
#include <vector>

#include "tests/support/test_sockets.h"

namespace pelmorix {

// A loopback port on which nothing listens now, so a connect to it is refused.
uint16_t UnusedLoopbackPort();

// A loopback port whose listening socket never accepts and whose backlog is full: new connect
// attempts are dropped, so a connect to it neither succeeds nor fails until it is given up.
class THangingConnectTarget {
 public:
  THangingConnectTarget();
  ~THangingConnectTarget();
  THangingConnectTarget(const THangingConnectTarget&) = delete;
  THangingConnectTarget& operator=(const THangingConnectTarget&) = delete;

  uint16_t Port() const { return port_; }
  // Whether a filling connect was seen to hang, so that the next one will too.
  bool Saturated() const { return saturated_; }

 private:
  TTestSocketUse socketUse_;
  TTestSocket listener_ = kNoTestSocket;
  uint16_t port_ = 0;
  bool saturated_ = false;
  std::vector<TTestSocket> fillers_;
};

}  // namespace pelmorix
