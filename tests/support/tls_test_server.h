#pragma once

#include <map>
#include <memory>
#include <string>

#include "tests/support/temp_folder.h"

namespace pelmorix {

// tests/support/tls_server.py with its certificates in a folder of its own: one port per kind
// of server (good, expired, wrongname, untrusted, plain, stall, tls11, tls13, revoked,
// unanswered) and the log of what it saw. The
// server runs on the build machine: a child process on Linux, a Unix process started through
// wine for the Windows tests.
class TTlsTestServer {
 public:
  TTlsTestServer();
  ~TTlsTestServer();

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
  class TServerProcess;  // the running script, as the system starts and stops it
  // Where the server's folder is made: a folder the script can reach by its own path.
  static std::string FolderBase();
  // Takes "KIND PORT" lines up to "ready"; false for any other line.
  bool TakePortLine(const std::string& line);

  TTempFolder folder_{FolderBase()};
  std::map<std::string, int> ports_;
  std::unique_ptr<TServerProcess> process_;
};

}  // namespace pelmorix
