#include "tests/e2e/demo_server.h"

#include <chrono>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace pelmorix::e2e {

TDemoServer::TDemoServer() : scenario_(folder_ / "scenario"), log_(folder_ / "requests.log") {
  std::filesystem::copy(PELMORIX_SOURCE_DIR "/tools/demo-server/scenario", scenario_,
                        std::filesystem::copy_options::recursive);
  const std::string python = ProgramInPath("python3");
  if (python.empty()) throw std::runtime_error("python3 is not installed");
  const std::string portFile = folder_ / "port";
  TProgramStart start;
  start.Argv = {python,        PELMORIX_SOURCE_DIR "/tools/demo-server/demo_server.py",
                "--port",      "0",
                "--port-file", portFile,
                "--scenario",  scenario_,
                "--log",       log_};
  start.OutputFile = folder_ / "server.out";
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

void TDemoServer::WriteScenarioFile(const std::string& name, const std::string& content) const {
  const std::filesystem::path path = ScenarioFile(name);
  std::filesystem::create_directories(path.parent_path());
  // Written beside and renamed, so the server never reads half a file.
  WriteTextFile(path.string() + ".part", content);
  std::filesystem::rename(path.string() + ".part", path);
}

std::vector<std::string> TDemoServer::Requests() const {
  std::vector<std::string> targets;
  std::istringstream lines(ReadTextFile(log_));
  for (std::string line; std::getline(lines, line);) {
    // "GET <target> HTTP/1.1"
    const size_t first = line.find(' '), last = line.rfind(' ');
    if (first != std::string::npos && last > first) {
      targets.push_back(line.substr(first + 1, last - first - 1));
    }
  }
  return targets;
}

bool TDemoServer::WaitForRequest(const std::string& part, double seconds) const {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  do {
    for (const std::string& target : Requests()) {
      if (target.find(part) != std::string::npos) return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  } while (std::chrono::steady_clock::now() < end);
  return false;
}

}  // namespace pelmorix::e2e
