#pragma once

#include <cstdint>
#include <string>

namespace pelmorix::e2e {

struct THttpReply {
  int Status = 0;
  std::string Head;  // status line and header lines
  std::string Body;
  // The value of a header line, matched without regard to case; empty when absent.
  std::string Header(const std::string& name) const;
};

// One GET of the target from 127.0.0.1:port with "Connection: close", read to the server's
// close; throws on a connection failure or when the reply takes longer than the time given.
// A test's own view of a server, independent of the system's HTTP client.
THttpReply PlainGet(uint16_t port, const std::string& target, int timeoutMs = 10000);

}  // namespace pelmorix::e2e
