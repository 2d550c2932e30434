// The demo server sends each reply in one write, as a real server sends a small reply: a reply
// written as head and body apart makes a kept-alive client wait for its own delayed
// acknowledgement before the body comes.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"

namespace pelmorix {
namespace {

int StartedPort(const std::string& portFile) {
  for (int i = 0; i < 200; ++i) {
    std::ifstream file(portFile);
    int port = 0;
    if (file >> port) return port;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return 0;
}

int ConnectTo(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// What one receive call takes once the reply has begun to arrive.
std::string FirstReceive(int fd) {
  pollfd readable{fd, POLLIN, 0};
  if (poll(&readable, 1, 10000) != 1) return "";
  std::string data(65536, '\0');
  const ssize_t n = recv(fd, data.data(), data.size(), 0);
  data.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return data;
}

TEST(DemoServerReplies, EveryKeptAliveReplyArrivesWithHeadAndBodyTogether) {
  TTempFolder folder;
  const std::string portFile = folder.Path() + "/port";
  TChildProcess server({"python3", PELMORIX_SOURCE_DIR "/tools/demo-server/demo_server.py",
                        "--port", "0", "--port-file", portFile, "--log", folder.Path() + "/log"});
  const int port = StartedPort(portFile);
  ASSERT_NE(port, 0);
  const int fd = ConnectTo(port);
  ASSERT_GE(fd, 0);
  for (int row = 0; row <= 12; ++row) {
    const std::string request =
        "GET /starter/index.php?action=getbutton&param1=" + std::to_string(row) +
        " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    ASSERT_EQ(send(fd, request.data(), request.size(), 0), static_cast<ssize_t>(request.size()));
    const std::string reply = FirstReceive(fd);
    const size_t headEnd = reply.find("\r\n\r\n");
    ASSERT_NE(headEnd, std::string::npos) << "row " << row << ": " << reply;
    const size_t length = reply.find("Content-Length: ");
    ASSERT_NE(length, std::string::npos) << reply;
    const size_t bodyLength = std::stoul(reply.substr(length + 16));
    EXPECT_GT(bodyLength, 0u);
    EXPECT_EQ(reply.size() - headEnd - 4, bodyLength) << "row " << row << ": " << reply;
  }
  close(fd);
}

}  // namespace
}  // namespace pelmorix
