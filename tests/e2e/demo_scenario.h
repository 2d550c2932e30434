#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace pelmorix::e2e {

// What a test sees of a running demo server: a private copy of the scenario folder in a fresh
// folder below base (so a test may change any reply, also while the server runs) and the log
// the server appends every request line to.
class TDemoScenario {
 public:
  explicit TDemoScenario(
      const std::filesystem::path& base = std::filesystem::temp_directory_path());

  // The scenario copy, and a file in it ("patches/101/type.txt").
  const std::string& ScenarioFolder() const { return scenario_; }
  std::string ScenarioFile(const std::string& name) const { return scenario_ + "/" + name; }
  void WriteScenarioFile(const std::string& name, const std::string& content) const;

  // The targets of the requests so far, in order ("/starter/index.php?action=getbutton&...").
  std::vector<std::string> Requests() const;
  // Waits until a request whose target contains the text has come; false when none came.
  bool WaitForRequest(const std::string& part, double seconds = 30) const;

 protected:
  // The folder of the copy, the log and whatever else the server keeps.
  const TTempFolder& Folder() const { return folder_; }
  const std::string& LogFile() const { return log_; }

 private:
  TTempFolder folder_;
  std::string scenario_;
  std::string log_;
};

}  // namespace pelmorix::e2e
