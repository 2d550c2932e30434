#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tests/support/test_sockets.h"

namespace pelmorix::e2e {

// tools/demo-server/demo_server.py on 127.0.0.1 and a free port, started from the Windows test
// as a program of the build machine, on a private copy of the scenario folder, logging every
// request line. Wine gives no handle to it: it ends when this object closes its control
// connection, or when the test process dies.
class TDemoServerUnderWine {
 public:
  TDemoServerUnderWine();
  ~TDemoServerUnderWine();
  TDemoServerUnderWine(const TDemoServerUnderWine&) = delete;
  TDemoServerUnderWine& operator=(const TDemoServerUnderWine&) = delete;

  // "http://127.0.0.1:<port>", the configuration server's address for the launcher.
  std::string Address() const;
  // A file of the scenario copy ("patches/101/type.txt").
  std::string ScenarioFile(const std::string& name) const { return scenario_ + "/" + name; }
  void WriteScenarioFile(const std::string& name, const std::string& content) const;

  // The targets of the requests so far, in order ("/starter/index.php?action=getbutton&...").
  std::vector<std::string> Requests() const;
  // Waits until a request whose target contains the text has come; false when none came.
  bool WaitForRequest(const std::string& part, double seconds = 30) const;

 private:
  // A folder the script reaches by its Unix path.
  TTempFolder folder_{"Z:/tmp"};
  std::string scenario_;
  std::string log_;
  TTestSocketUse sockets_;
  TTestSocket control_ = kNoTestSocket;
  uint16_t port_ = 0;
};

}  // namespace pelmorix::e2e
