#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "http/authentication.h"

namespace pelmorix {

// Where requests go when they go through a proxy (an empty server: no proxy), and the
// credentials for it. A different server or port drops the credential object of the old one.
class TIdProxyConnectionInfo {
 public:
  const std::string& ProxyServer() const { return proxyServer_; }
  void SetProxyServer(const std::string& server);
  int32_t ProxyPort() const { return proxyPort_; }
  void SetProxyPort(int32_t port);

  std::string ProxyUsername;
  std::string ProxyPassword;
  bool BasicAuthentication = false;
  std::unique_ptr<TIdAuthentication> Authenticator;

 private:
  std::string proxyServer_;
  int32_t proxyPort_ = 0;
};

}  // namespace pelmorix
