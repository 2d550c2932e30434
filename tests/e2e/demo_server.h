#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/demo_scenario.h"
#include "tests/e2e/started_program.h"

namespace pelmorix::e2e {

// tools/demo-server/demo_server.py on 127.0.0.1 and a free port, serving its scenario copy and
// logging every request line. Stopped when the object goes.
class TDemoServer : public TDemoScenario {
 public:
  TDemoServer();
  ~TDemoServer();
  TDemoServer(const TDemoServer&) = delete;
  TDemoServer& operator=(const TDemoServer&) = delete;

  uint16_t Port() const { return port_; }
  // "http://127.0.0.1:<port>", the configuration server's address for the launcher.
  std::string Address() const;
  // The server's own messages, for a failure report.
  std::string Output() const { return program_->Output(); }

 private:
  std::unique_ptr<TStartedProgram> program_;
  uint16_t port_ = 0;
};

}  // namespace pelmorix::e2e
