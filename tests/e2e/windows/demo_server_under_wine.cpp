#include "tests/e2e/windows/demo_server_under_wine.h"

#include <chrono>
#include <filesystem>
#include <sstream>
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

TDemoServerUnderWine::TDemoServerUnderWine()
    : scenario_(folder_ / "scenario"), log_(folder_ / "requests.log") {
  std::filesystem::copy(PELMORIX_SOURCE_DIR "/tools/demo-server/scenario", scenario_,
                        std::filesystem::copy_options::recursive);
  StartUnixProgram(
      {"/usr/bin/python3", UnixPath(PELMORIX_SOURCE_DIR) + "/tools/demo-server/demo_server.py",
       "--port", "0", "--port-file", UnixPath(folder_ / "port"), "--control-port-file",
       UnixPath(folder_ / "control"), "--scenario", UnixPath(scenario_), "--log", UnixPath(log_)});
  // The control port is written first; the server ends on its own when nobody connects.
  port_ = WaitForPortFile(folder_ / "port");
  const uint16_t control = WaitForPortFile(folder_ / "control");
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

void TDemoServerUnderWine::WriteScenarioFile(const std::string& name,
                                             const std::string& content) const {
  const std::filesystem::path path = ScenarioFile(name);
  std::filesystem::create_directories(path.parent_path());
  // Written beside and renamed, so the server never reads half a file.
  WriteTextFile(path.string() + ".part", content);
  std::filesystem::rename(path.string() + ".part", path);
}

std::vector<std::string> TDemoServerUnderWine::Requests() const {
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

bool TDemoServerUnderWine::WaitForRequest(const std::string& part, double seconds) const {
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
