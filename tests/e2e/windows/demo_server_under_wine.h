#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/e2e/demo_scenario.h"
#include "tests/support/test_sockets.h"

namespace pelmorix::e2e {

// tools/demo-server/demo_server.py on 127.0.0.1 and a free port, started from the Windows test
// as a program of the build machine, serving its scenario copy and logging every request
// line. Wine gives no handle to it: it ends when this object closes its control
// connection, or when the test process dies.
class TDemoServerUnderWine : public TDemoScenario {
 public:
  TDemoServerUnderWine();
  ~TDemoServerUnderWine();
  TDemoServerUnderWine(const TDemoServerUnderWine&) = delete;
  TDemoServerUnderWine& operator=(const TDemoServerUnderWine&) = delete;

  // "http://127.0.0.1:<port>", the configuration server's address for the launcher.
  std::string Address() const;

 private:
  TTestSocketUse sockets_;
  TTestSocket control_ = kNoTestSocket;
  uint16_t port_ = 0;
};

}  // namespace pelmorix::e2e
