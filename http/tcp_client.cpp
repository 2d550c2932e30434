#include "http/tcp_client.h"

#include "base/format.h"
#include "http/connection_exceptions.h"

namespace pelmorix {

TIdTCPClient::TIdTCPClient(TIdSocketLayer& layer) : TIdTCPConnection(layer) {}

void TIdTCPClient::OpenConnection(int timeoutMilliseconds) {
  if (port_ < 1 || port_ > 65535) {
    throw EIdInvalidPort(Format("Port %d is outside the range 1 to 65535.", port_));
  }
  // A second open must not cost the connection that is open.
  if (IOHandler() != nullptr && IOHandler()->HasSocket()) {
    throw EIdAlreadyConnected("Already connected.");
  }
  if (IOHandler() == nullptr) CreateOwnTransport();
  try {
    IOHandler()->PrepareTransport();
    ResetInput();
    IOHandler()->EstablishTo(host_, port_, timeoutMilliseconds, localPortHigh_, localPortLow_,
                             boundPort_, boundIP_);
    IOHandler()->AfterConnect(ReadTimeout());
    ReportStatus(hsConnected, host_);
    if (OnConnected) OnConnected(this);
  } catch (...) {
    DropSocket();
    throw;
  }
}

}  // namespace pelmorix
