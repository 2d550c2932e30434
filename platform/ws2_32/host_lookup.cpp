#include <netdb.h>
#include <sys/socket.h>

#include <cerrno>
#include <vector>

#include "platform/ws2_32/error_mapping.h"
#include "platform/ws2_32/library_state.h"
#include "platform/ws2_32/socket_calls.h"

namespace pelmorix::ws2 {
namespace {

// As under WinSock, the answer of a host lookup belongs to the calling thread and stays valid
// until that thread's next lookup.
struct THostLookup {
  hostent answer{};
  std::vector<char> storage = std::vector<char>(1024);
  HOSTENT entry{};
};

constexpr size_t kLargestAnswer = 1 << 20;

}  // namespace

HOSTENT* GetHostByName(const char* name) {
  if (!Started()) return nullptr;
  if (name == nullptr) {
    Fail(WSAEFAULT);
    return nullptr;
  }
  thread_local THostLookup lookup;
  hostent* result = nullptr;
  int resolverError = 0;
  int error;
  for (;;) {
    error = gethostbyname_r(name, &lookup.answer, lookup.storage.data(), lookup.storage.size(),
                            &result, &resolverError);
    if (error != ERANGE || lookup.storage.size() >= kLargestAnswer) break;
    lookup.storage.resize(lookup.storage.size() * 2);
  }
  if (result == nullptr) {
    if (resolverError == NETDB_INTERNAL && error != 0) {
      errno = error;
      FailFromErrno();
    } else {
      Fail(WinSockErrorFromResolver(resolverError));
    }
    return nullptr;
  }
  if (result->h_addrtype != AF_INET) {
    Fail(WSANO_DATA);
    return nullptr;
  }
  lookup.entry.h_name = result->h_name;
  lookup.entry.h_aliases = result->h_aliases;
  lookup.entry.h_addrtype = WS_AF_INET;
  lookup.entry.h_length = static_cast<int16_t>(result->h_length);
  lookup.entry.h_addr_list = result->h_addr_list;
  return &lookup.entry;
}

}  // namespace pelmorix::ws2
