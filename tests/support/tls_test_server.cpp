#include "tests/support/tls_test_server.h"

#include <chrono>
#include <thread>

namespace pelmorix {

bool TTlsTestServer::TakePortLine(const std::string& line) {
  const size_t space = line.find(' ');
  if (space == std::string::npos) return false;
  ports_[line.substr(0, space)] = std::stoi(line.substr(space + 1));
  return true;
}

std::string TTlsTestServer::Url(const std::string& kind, const std::string& path) const {
  return (kind == "plain" ? "http://127.0.0.1:" : "https://127.0.0.1:") +
         std::to_string(Port(kind)) + path;
}

bool TTlsTestServer::WaitForLogLine(const std::string& line) const {
  for (int i = 0; i < 500; ++i) {
    if (("\n" + Log()).find("\n" + line + "\n") != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

std::string TTlsTestServer::Body() {
  std::string body(200000, '\0');
  for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>((i * 131 + 7) % 256);
  return body;
}

}  // namespace pelmorix
