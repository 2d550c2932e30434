#include "launcher/launcher_transport.h"

namespace pelmorix {

bool LauncherUsesTls() { return PELMORIX_TLS != 0; }

void AssignLauncherTransport(TIdHTTP& http, std::unique_ptr<TIdSSLIOHandlerSocket>& holder) {
  if (!LauncherUsesTls()) return;
  holder = std::make_unique<TIdSSLIOHandlerSocket>(http.SocketLayer());
  http.SetIOHandler(holder.get());
}

}  // namespace pelmorix
