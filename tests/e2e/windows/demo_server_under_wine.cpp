#include "tests/e2e/windows/demo_server_under_wine.h"

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "tests/support/unix_program.h"

namespace pelmorix::e2e {
namespace {

// The file's number once the server has written it (it renames it into place whole); 0 before.
uint16_t WaitForPortFile(const std::string& path) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!std::filesystem::exists(path) && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  const std::string text = ReadTextFile(path);
  return text.empty() ? 0 : static_cast<uint16_t>(std::stoi(text));
}

}  // namespace

// A folder the script reaches by its Unix path.
TDemoServerUnderWine::TDemoServerUnderWine() : TDemoScenario("Z:/tmp") {
  StartUnixProgram({"/usr/bin/python3",
                    UnixPath(PELMORIX_SOURCE_DIR) + "/tools/demo-server/demo_server.py", "--port",
                    "0", "--port-file", UnixPath(Folder() / "port"), "--control-port-file",
                    UnixPath(Folder() / "control"), "--scenario", UnixPath(ScenarioFolder()),
                    "--log", UnixPath(LogFile())});
  // The control port is written first; the server ends on its own when nobody connects.
  port_ = WaitForPortFile(Folder() / "port");
  const uint16_t control = WaitForPortFile(Folder() / "control");
  control_ = BoundLoopbackSocket();
  if (port_ == 0 || control == 0 || control_ == kNoTestSocket ||
      ConnectLoopback(control_, control) != 1) {
    CloseTestSocket(control_);
    throw std::runtime_error("the demo server did not start");
  }
}

TDemoServerUnderWine::~TDemoServerUnderWine() { CloseTestSocket(control_); }

std::string TDemoServerUnderWine::Address() const {
  return "http://127.0.0.1:" + std::to_string(port_);
}

}  // namespace pelmorix::e2e
