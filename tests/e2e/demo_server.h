#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/started_program.h"
#include "tests/support/temp_folder.h"

namespace pelmorix::e2e {

// tools/demo-server/demo_server.py on 127.0.0.1 and a free port, serving a private copy of the
// scenario folder (so a test may change any reply, also while the server runs) and logging
// every request line. Stopped when the object goes.
class TDemoServer {
 public:
  TDemoServer();
  ~TDemoServer();
  TDemoServer(const TDemoServer&) = delete;
  TDemoServer& operator=(const TDemoServer&) = delete;

  uint16_t Port() const { return port_; }
  // "http://127.0.0.1:<port>", the configuration server's address for the launcher.
  std::string Address() const;
  // The scenario copy, and a file in it ("patches/101/type.txt").
  const std::string& ScenarioFolder() const { return scenario_; }
  std::string ScenarioFile(const std::string& name) const { return scenario_ + "/" + name; }
  void WriteScenarioFile(const std::string& name, const std::string& content) const;

  // The targets of the requests so far, in order ("/starter/index.php?action=getbutton&...").
  std::vector<std::string> Requests() const;
  // Waits until a request whose target contains the text has come; false when none came.
  bool WaitForRequest(const std::string& part, double seconds = 30) const;
  // The server's own messages, for a failure report.
  std::string Output() const { return program_->Output(); }

 private:
  TTempFolder folder_;
  std::string scenario_;
  std::string log_;
  std::unique_ptr<TStartedProgram> program_;
  uint16_t port_ = 0;
};

}  // namespace pelmorix::e2e
