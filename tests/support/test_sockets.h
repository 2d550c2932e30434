#pragma once

#include <cstddef>
#include <cstdint>

namespace pelmorix {

// The socket calls of the test peers, the same on every system, so that the peers are written
// once: the C library's sockets on POSIX, Winsock on Windows. These are the tests' own sockets,
// not the code under test. Every socket is a TCP socket on 127.0.0.1.
using TTestSocket = intptr_t;
constexpr TTestSocket kNoTestSocket = -1;

// Keeps the system's socket library started while it lives; every user of the calls below
// holds one. Windows counts the start-ups of a process as a whole, so the tests' own must end
// with their sockets, or a test of the client's start-up and clean-up would count them too.
class TTestSocketUse {
 public:
  TTestSocketUse();
  ~TTestSocketUse();
  TTestSocketUse(const TTestSocketUse&) = delete;
  TTestSocketUse& operator=(const TTestSocketUse&) = delete;
};

// A socket bound to 127.0.0.1 and the port (0: the system's choice); kNoTestSocket on failure.
TTestSocket BoundLoopbackSocket(uint16_t port = 0, bool nonBlocking = false);
uint16_t LocalPort(TTestSocket socket);
bool ListenOn(TTestSocket socket, int backlog);
// The next connection, non-blocking; kNoTestSocket when none could be taken.
TTestSocket AcceptConnection(TTestSocket listener);
// Starts a connect to 127.0.0.1:port: 1 connected, 0 still under way (non-blocking), -1 failed.
int ConnectLoopback(TTestSocket socket, uint16_t port);

// A transfer that does not wait: the count moved, 0 when the peer has closed (receive), or
// one of these.
constexpr long kWouldWait = -2;
constexpr long kFailed = -1;
long ReceiveNow(TTestSocket socket, char* buffer, size_t size);
long SendNow(TTestSocket socket, const char* buffer, size_t size);

void ShutdownSending(TTestSocket socket);
// The next close sends a reset (RST) instead of a graceful end.
void ResetOnClose(TTestSocket socket);
void CloseTestSocket(TTestSocket socket);

// Waits until one of the sockets is readable (or writable, when asked) or has an error or
// hang-up; fills Ready. Answers the count of ready sockets, 0 when the time (ms; -1: no end)
// ran out.
struct TSocketWait {
  TTestSocket Socket;
  bool Write = false;
  bool Ready = false;
};
int WaitForSockets(TSocketWait* waits, size_t count, int timeoutMs);

}  // namespace pelmorix
