#include "tests/support/loopback_targets.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace pelmorix {
namespace {

sockaddr_in LoopbackAddress(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  return address;
}

int BoundLoopbackSocket(uint16_t& port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = LoopbackAddress(0);
  socklen_t length = sizeof(address);
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("cannot bind a loopback socket");
  }
  port = ntohs(address.sin_port);
  return fd;
}

constexpr int kMostFillers = 16;
constexpr int kHangingAfterMs = 300;

}  // namespace

uint16_t UnusedLoopbackPort() {
  uint16_t port;
  close(BoundLoopbackSocket(port));
  return port;
}

THangingConnectTarget::THangingConnectTarget() {
  listener_ = BoundLoopbackSocket(port_);
  if (listen(listener_, 0) != 0) throw std::runtime_error("cannot listen");
  // Connect until one attempt stays unanswered: from then on the backlog is full.
  const sockaddr_in address = LoopbackAddress(port_);
  for (int i = 0; i < kMostFillers && !saturated_; ++i) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    fillers_.push_back(fd);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) continue;
    pollfd entry{fd, POLLOUT, 0};
    saturated_ = poll(&entry, 1, kHangingAfterMs) == 0;
  }
}

THangingConnectTarget::~THangingConnectTarget() {
  for (const int fd : fillers_) close(fd);
  close(listener_);
}

}  // namespace pelmorix
