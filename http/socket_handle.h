#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "http/id_stack.h"

namespace pelmorix {

// One socket: created, bound to a local address, connected, waited on, read, written, closed.
// The connect worker calls ConnectToPeer on its own thread while the owner's thread may close
// the socket under it, so the handle and its allocated flag are atomic.
class TIdSocketHandle {
 public:
  explicit TIdSocketHandle(TIdStack& stack);
  ~TIdSocketHandle();
  TIdSocketHandle(const TIdSocketHandle&) = delete;
  TIdSocketHandle& operator=(const TIdSocketHandle&) = delete;

  // Closes a socket held, then allocates a new one.
  void CreateHandle(int type = WS_SOCK_STREAM, int protocol = 0);
  // Only when allocated: marks the handle unallocated first, then shuts the send side and
  // closes; both results are ignored, and a second call does nothing.
  void ShutAndClose();
  void ResetFields(bool resetLocal);

  // Binds IP and Port, or a port of the client port range (highest first).
  void BindLocal();
  // One bind of IP and Port: false when the address is in use; on success IP and Port are those
  // the system chose.
  bool TryBindLocal();
  void BindInRange();

  void SetPeerAddress(const std::string& address, int port);
  // The raw result of the connect; after success the local and peer addresses are refreshed.
  int ConnectToPeer(int family = WS_AF_INET);
  // Both block until the call is done, also on a socket switched to non-blocking mode.
  int ReceiveSome(void* buffer, int length);
  int SendSome(const void* buffer, int length);
  // Switches the socket to non-blocking mode; false (and nothing changed) when it cannot be.
  bool SetNonBlocking();
  // One receive call that takes only bytes already waiting: kNothingWaiting when there are none,
  // and always on a socket in blocking mode, where the call would have to wait. Otherwise the
  // raw result, as ReceiveSome.
  int ReceiveWaiting(void* buffer, int length);
  static constexpr int kNothingWaiting = -2;
  // setsockopt with a 4-byte value, checked.
  void SetOption(int level, int option, int32_t value);
  // True when the socket becomes readable within the time-out (-2: no limit, 0: poll). A closed
  // handle raises EIdConnClosedGracefully.
  bool WaitReadable(int timeoutMilliseconds);
  void WaitWritable();

  SOCKET Handle() const { return handle_.load(); }
  bool HandleAllocated() const { return allocated_.load(); }
  const std::string& IP() const { return ip_; }
  void SetIP(const std::string& ip) { ip_ = ip; }
  int Port() const { return port_; }
  void SetPort(int port) { port_ = port; }
  const std::string& PeerIP() const { return peerIP_; }
  int PeerPort() const { return peerPort_; }
  int ClientPortMin() const { return clientPortMin_; }
  void SetClientPortMin(int port) { clientPortMin_ = port; }
  int ClientPortMax() const { return clientPortMax_; }
  void SetClientPortMax(int port) { clientPortMax_ = port; }

 private:
  TIdStack& stack_;
  std::atomic<SOCKET> handle_{INVALID_SOCKET};
  std::atomic<bool> allocated_{false};
  std::string ip_;
  int port_ = 0;
  std::string peerIP_;
  int peerPort_ = 0;
  int clientPortMin_ = 0;
  int clientPortMax_ = 0;
  bool nonBlocking_ = false;
  std::vector<SOCKET> readList_;  // kept, so a wait allocates nothing
  std::vector<SOCKET> writeList_;

  // True when a call on the non-blocking socket failed only because it would have to wait.
  bool WouldBlock(int result);
};

}  // namespace pelmorix
