#include "http/proxy_connection_info.h"

#include "base/text.h"

namespace pelmorix {

void TIdProxyConnectionInfo::SetProxyServer(const std::string& server) {
  if (!SameText(server, proxyServer_)) Authenticator.reset();
  proxyServer_ = server;
}

void TIdProxyConnectionInfo::SetProxyPort(int32_t port) {
  if (port != proxyPort_) Authenticator.reset();
  proxyPort_ = port;
}

}  // namespace pelmorix
