#include "tests/e2e/demo_scenario.h"

#include <chrono>
#include <sstream>
#include <thread>

namespace pelmorix::e2e {

TDemoScenario::TDemoScenario(const std::filesystem::path& base)
    : folder_(base), scenario_(folder_ / "scenario"), log_(folder_ / "requests.log") {
  std::filesystem::copy(PELMORIX_SOURCE_DIR "/tools/demo-server/scenario", scenario_,
                        std::filesystem::copy_options::recursive);
}

void TDemoScenario::WriteScenarioFile(const std::string& name, const std::string& content) const {
  const std::filesystem::path path = ScenarioFile(name);
  std::filesystem::create_directories(path.parent_path());
  // Written beside and renamed, so the server never reads half a file.
  WriteTextFile(path.string() + ".part", content);
  std::filesystem::rename(path.string() + ".part", path);
}

std::vector<std::string> TDemoScenario::Requests() const {
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

bool TDemoScenario::WaitForRequest(const std::string& part, double seconds) const {
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
