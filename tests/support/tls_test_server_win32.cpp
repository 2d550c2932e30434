#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <chrono>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "tests/support/test_sockets.h"
#include "tests/support/tls_test_server.h"
#include "tests/support/unix_program.h"

namespace pelmorix {

// Under wine a Windows program can start a Unix program, though without a handle to it and
// without its standard output: the script writes its ports to a file instead, and ends when
// the connection to its control port closes, which this object holds, so the script ends with
// the test even when the test dies.
class TTlsTestServer::TServerProcess {
 public:
  explicit TServerProcess(int controlPort) {
    control_ = BoundLoopbackSocket();
    if (control_ == kNoTestSocket ||
        ConnectLoopback(control_, static_cast<uint16_t>(controlPort)) != 1) {
      throw std::runtime_error("tls_server.py does not take its control connection");
    }
  }
  ~TServerProcess() { CloseTestSocket(control_); }

 private:
  TTestSocketUse sockets_;
  TTestSocket control_ = kNoTestSocket;
};

// Wine shows the Unix root as drive Z:.
std::string TTlsTestServer::FolderBase() { return "Z:/tmp"; }

TTlsTestServer::TTlsTestServer() {
  const std::string folder = UnixPath(folder_.Path());
  StartUnixProgram({"/usr/bin/python3",
                    UnixPath(PELMORIX_SOURCE_DIR "/tests/support/tls_server.py"), folder,
                    folder + "/log", "--control"});
  // Making the certificates takes the script a second or two.
  std::string ports;
  for (int i = 0; i < 600 && ports.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ports = ReadTextFile(folder_ / "ports");
  }
  std::istringstream lines(ports);
  std::string line;
  while (std::getline(lines, line) && line != "ready") {
    if (!TakePortLine(line)) throw std::runtime_error("tls_server.py did not start");
  }
  if (line != "ready") throw std::runtime_error("tls_server.py did not start");
  process_ = std::make_unique<TServerProcess>(ports_.at("control"));
}

TTlsTestServer::~TTlsTestServer() = default;

}  // namespace pelmorix
