#include <poll.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <climits>

#include "platform/ws2_32/library_state.h"
#include "platform/ws2_32/socket_calls.h"

// select over poll: the sets hold socket numbers of any size, not bits of a fixed-size mask, so
// a descriptor above 1023 is as safe as any other.

namespace pelmorix::ws2 {
namespace {

constexpr int kSetCount = 3;
constexpr short kReadyEvents[kSetCount] = {
    POLLIN | POLLHUP | POLLERR,   // readable, closed or failed: a receive will not block
    POLLOUT | POLLHUP | POLLERR,  // writable, or a connect that ended
    POLLPRI | POLLERR,            // urgent data, or a connect that failed
};
constexpr short kRequestedEvents[kSetCount] = {POLLIN, POLLOUT, POLLPRI};

bool ToMilliseconds(const TIMEVAL* timeout, int& milliseconds) {
  if (timeout == nullptr) {
    milliseconds = -1;
    return true;
  }
  if (timeout->tv_sec < 0 || timeout->tv_usec < 0) return false;
  const long long total =
      static_cast<long long>(timeout->tv_sec) * 1000 + (timeout->tv_usec + 999) / 1000;
  milliseconds = total > INT_MAX ? INT_MAX : static_cast<int>(total);
  return true;
}

// Waits like poll, going on after a signal with the time that is left. Only a limited wait needs
// the clock; a wait without limit or none at all is the common case and reads no clock.
int PollFor(pollfd* entries, nfds_t count, int milliseconds) {
  using Clock = std::chrono::steady_clock;
  Clock::time_point deadline;
  if (milliseconds > 0) deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    const int result = poll(entries, count, milliseconds);
    if (result >= 0 || errno != EINTR) return result;
    if (milliseconds > 0) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      milliseconds = left > 0 ? static_cast<int>(left) : 0;
    }
  }
}

}  // namespace

int Select(FD_SET* readSet, FD_SET* writeSet, FD_SET* errorSet, const TIMEVAL* timeout) {
  if (!Started()) return SOCKET_ERROR;
  FD_SET* sets[kSetCount] = {readSet, writeSet, errorSet};
  std::array<pollfd, kSetCount * WS_FD_SETSIZE> entries;
  nfds_t count = 0;
  for (FD_SET* set : sets) {
    if (set == nullptr) continue;
    if (set->fd_count > static_cast<uint32_t>(WS_FD_SETSIZE)) return Fail(WSAEINVAL);
  }
  for (int which = 0; which < kSetCount; ++which) {
    if (sets[which] == nullptr) continue;
    for (uint32_t i = 0; i < sets[which]->fd_count; ++i) {
      int fd;
      if (!ToDescriptor(sets[which]->fd_array[i], fd)) return SOCKET_ERROR;
      entries[count++] = pollfd{fd, kRequestedEvents[which], 0};
    }
  }
  int milliseconds;
  if (count == 0 || !ToMilliseconds(timeout, milliseconds)) return Fail(WSAEINVAL);
  if (PollFor(entries.data(), count, milliseconds) < 0) return FailFromErrno();

  int ready = 0;
  nfds_t next = 0;
  for (int which = 0; which < kSetCount; ++which) {
    FD_SET* set = sets[which];
    if (set == nullptr) continue;
    uint32_t kept = 0;
    for (uint32_t i = 0; i < set->fd_count; ++i) {
      const pollfd& entry = entries[next++];
      if (entry.revents & POLLNVAL) return Fail(WSAENOTSOCK);
      if (entry.revents & kReadyEvents[which]) set->fd_array[kept++] = set->fd_array[i];
    }
    set->fd_count = kept;
    ready += static_cast<int>(kept);
  }
  return ready;
}

}  // namespace pelmorix::ws2
