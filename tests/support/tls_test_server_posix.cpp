#include <filesystem>
#include <stdexcept>

#include "tests/support/child_process.h"
#include "tests/support/tls_test_server.h"

namespace pelmorix {

class TTlsTestServer::TServerProcess : public TChildProcess {
 public:
  using TChildProcess::TChildProcess;
};

std::string TTlsTestServer::FolderBase() { return std::filesystem::temp_directory_path().string(); }

TTlsTestServer::TTlsTestServer() {
  process_ = std::make_unique<TServerProcess>(
      std::vector<std::string>{"python3", PELMORIX_SOURCE_DIR "/tests/support/tls_server.py",
                               folder_.Path(), folder_ / "log"});
  for (std::string line = process_->ReadLine(); line != "ready"; line = process_->ReadLine()) {
    if (!TakePortLine(line)) throw std::runtime_error("tls_server.py did not start");
  }
}

TTlsTestServer::~TTlsTestServer() = default;

}  // namespace pelmorix
