#pragma once

#include <memory>
#include <string>

#include "http/id_http.h"
#include "launcher/launcher_transport.h"

namespace pelmorix {

// The launcher's network unit: the shared HTTP client of the server list, the button rows, the
// write probe and the patch run, and the button-row request.
class TInet {
 public:
  static constexpr int kTimeout = 3000;  // connect and read time-out, milliseconds

  explicit TInet(std::string configServer);
  // Disconnects LauncherHttp before it goes.
  ~TInet();
  TInet(const TInet&) = delete;
  TInet& operator=(const TInet&) = delete;

  TIdHTTP& LauncherHttp() { return *launcher_http_; }
  const std::string& ConfigServer() const { return config_server_; }

  // The reply to the getbutton request of a row; a failed request raises.
  std::string FetchButtonRow(int row);

 private:
  std::string config_server_;
  std::unique_ptr<TIdSSLIOHandlerSocket> ssl_;  // only with PELMORIX_TLS; outlives the client
  std::unique_ptr<TIdHTTP> launcher_http_;
};

}  // namespace pelmorix
