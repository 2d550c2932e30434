#include "launcher/inet.h"

#include "base/convert.h"

namespace pelmorix {

TInet::TInet(std::string configServer)
    : config_server_(std::move(configServer)), launcher_http_(std::make_unique<TIdHTTP>()) {
  launcher_http_->SetReadTimeout(kTimeout);
  launcher_http_->SetConnectTimeout(kTimeout);
  AssignLauncherTransport(*launcher_http_, ssl_);
}

TInet::~TInet() {
  try {
    launcher_http_->Disconnect();
  } catch (const std::exception&) {
    // Nothing is left to tell at shut-down.
  }
}

std::string TInet::FetchButtonRow(int row) {
  return launcher_http_->Get(config_server_ +
                             "/starter/index.php?action=getbutton&param1=" + IntToStr(row));
}

}  // namespace pelmorix
