#include "platform/ws2_32/library_state.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/ws2_32/error_mapping.h"
#include "platform/ws2_32/socket_calls.h"

namespace pelmorix::ws2 {
namespace {

std::atomic<int> startupCount{0};
thread_local int lastError = 0;

constexpr uint16_t kHighestVersion = 0x0202;

void CopyText(char* target, size_t capacity, const char* text) {
  std::strncpy(target, text, capacity - 1);
  target[capacity - 1] = '\0';
}

}  // namespace

int Startup(uint16_t version, WSADATA* data) {
  if ((version & 0xFF) < 1) return WSAVERNOTSUPPORTED;
  if (data == nullptr) return WSAEFAULT;
  std::memset(data, 0, sizeof(*data));
  data->wVersion = (version & 0xFF) >= 2 ? kHighestVersion : version;
  data->wHighVersion = kHighestVersion;
  CopyText(data->szDescription, sizeof(data->szDescription), "Pelmorix socket library");
  CopyText(data->szSystemStatus, sizeof(data->szSystemStatus), "Running");
  data->iMaxSockets = 0xFFFF;
  startupCount.fetch_add(1);
  return 0;
}

int Cleanup() {
  int count = startupCount.load();
  do {
    if (count == 0) return Fail(WSANOTINITIALISED);
  } while (!startupCount.compare_exchange_weak(count, count - 1));
  return 0;
}

int GetLastError() { return lastError; }

void SetLastError(int error) { lastError = error; }

bool Started() {
  if (startupCount.load() > 0) return true;
  lastError = WSANOTINITIALISED;
  return false;
}

int Fail(int error) {
  lastError = error;
  return SOCKET_ERROR;
}

int FailFromErrno() { return Fail(WinSockErrorFromErrno(errno)); }

bool ToDescriptor(SOCKET s, int& fd) {
  if (s > static_cast<SOCKET>(INT_MAX)) {
    lastError = WSAENOTSOCK;
    return false;
  }
  fd = static_cast<int>(s);
  return true;
}

}  // namespace pelmorix::ws2
