#pragma once

#include <string>

#include "http/id_component.h"

namespace pelmorix {

enum TSocksVersion { svNoSocks, svSocks4, svSocks4A, svSocks5 };
enum TSocksAuthentication { saNoAuthentication, saUsernamePassword };

// Proxy settings of a socket transport.
class TIdSocksInfo : public TIdComponent {
 public:
  using TIdComponent::TIdComponent;

  TSocksVersion Version = svNoSocks;
  std::string Host;
  int Port = 1080;
  TSocksAuthentication Authentication = saNoAuthentication;
  std::string Username;
  std::string Password;
};

}  // namespace pelmorix
