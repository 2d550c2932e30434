#include "platform/ws2_32/system_calls.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace pelmorix::ws2 {
namespace {

template <class Function>
void LookUpPastThisLibrary(Function& function, const char* name) {
  void* address = dlsym(RTLD_NEXT, name);
  if (address == nullptr) {
    // Without the C library's socket calls nothing here can work.
    std::fprintf(stderr, "socket library: C library function %s not found\n", name);
    std::abort();
  }
  function = reinterpret_cast<Function>(address);
}

TSystemCalls LookUpSystemCalls() {
  TSystemCalls calls{};
  LookUpPastThisLibrary(calls.Socket, "socket");
  LookUpPastThisLibrary(calls.Bind, "bind");
  LookUpPastThisLibrary(calls.Connect, "connect");
  LookUpPastThisLibrary(calls.Shutdown, "shutdown");
  LookUpPastThisLibrary(calls.GetSockName, "getsockname");
  LookUpPastThisLibrary(calls.GetPeerName, "getpeername");
  LookUpPastThisLibrary(calls.SetSockOpt, "setsockopt");
  return calls;
}

}  // namespace

const TSystemCalls& SystemCalls() {
  static const TSystemCalls calls = LookUpSystemCalls();
  return calls;
}

}  // namespace pelmorix::ws2
