#include "tests/e2e/demo_server.h"

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace pelmorix::e2e {

TDemoServer::TDemoServer() {
  const std::string python = ProgramInPath("python3");
  if (python.empty()) throw std::runtime_error("python3 is not installed");
  const std::string portFile = Folder() / "port";
  TProgramStart start;
  start.Argv = {python,        PELMORIX_SOURCE_DIR "/tools/demo-server/demo_server.py",
                "--port",      "0",
                "--port-file", portFile,
                "--scenario",  ScenarioFolder(),
                "--log",       LogFile()};
  start.OutputFile = Folder() / "server.out";
  program_ = std::make_unique<TStartedProgram>(start);
  // The port file appears once the server listens.
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!std::filesystem::exists(portFile) && !program_->HasEnded() &&
         std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (!std::filesystem::exists(portFile)) {
    throw std::runtime_error("the demo server did not start: " + program_->Output());
  }
  port_ = static_cast<uint16_t>(std::stoi(ReadTextFile(portFile)));
}

TDemoServer::~TDemoServer() { program_->Stop(); }

std::string TDemoServer::Address() const { return "http://127.0.0.1:" + std::to_string(port_); }

}  // namespace pelmorix::e2e
