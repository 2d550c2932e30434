#pragma once

#include <map>
#include <memory>
#include <string>

#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"

namespace pelmorix {

// tests/support/tls_server.py with its certificates in a folder of its own: one port per kind
// of server (good, expired, wrongname, untrusted, plain, stall) and the log of what it saw.
class TTlsTestServer {
 public:
  TTlsTestServer();

  int Port(const std::string& kind) const { return ports_.at(kind); }
  // "https://127.0.0.1:PORT" + path, or "http://" for the plain kind.
  std::string Url(const std::string& kind, const std::string& path = "/") const;
  std::string CAFile() const { return folder_ / "ca.pem"; }
  std::string Log() const { return ReadTextFile(folder_ / "log"); }
  // Waits up to 5 s for the line to be logged.
  bool WaitForLogLine(const std::string& line) const;
  // The 200000 bytes of /length, /chunked and /close.
  static std::string Body();

 private:
  TTempFolder folder_;
  std::unique_ptr<TChildProcess> process_;
  std::map<std::string, int> ports_;
};

}  // namespace pelmorix
