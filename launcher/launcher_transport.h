#pragma once

#include <memory>

#include "http/id_http.h"
#include "http/io_handler_ssl_socket.h"

namespace pelmorix {

// Built with -DPELMORIX_TLS=ON, the launcher's HTTP clients carry "https" URLs through the SSL
// transport (the system's trust store, the host name checked). Without it they have none, and
// an "https" URL raises EIdIOHandlerPropInvalid before anything is sent.
bool LauncherUsesTls();

// Gives the client an SSL transport kept in holder when the build asks for it; holder must
// outlive the client.
void AssignLauncherTransport(TIdHTTP& http, std::unique_ptr<TIdSSLIOHandlerSocket>& holder);

}  // namespace pelmorix
