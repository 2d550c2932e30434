#include "http/tcp_client.h"

#include "http/connection_exceptions.h"

namespace pelmorix {

TIdTCPClient::TIdTCPClient(TIdSocketLayer& layer) : TIdTCPConnection(layer) {}

void TIdTCPClient::OpenConnection(int timeoutMilliseconds) {
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
