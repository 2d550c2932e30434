#include "tests/e2e/plain_http.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <stdexcept>

namespace pelmorix::e2e {

std::string THttpReply::Header(const std::string& name) const {
  std::istringstream lines(Head);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t colon = line.find(':');
    if (colon == name.size() && strncasecmp(line.c_str(), name.c_str(), colon) == 0) {
      const size_t value = line.find_first_not_of(' ', colon + 1);
      return value == std::string::npos ? "" : line.substr(value);
    }
  }
  return "";
}

THttpReply PlainGet(uint16_t port, const std::string& target, int timeoutMs) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("no socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    throw std::runtime_error("connect to port " + std::to_string(port) + " failed");
  }
  const std::string request = "GET " + target +
                              " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                              "\r\nConnection: close\r\n\r\n";
  if (send(fd, request.data(), request.size(), MSG_NOSIGNAL) !=
      static_cast<ssize_t>(request.size())) {
    close(fd);
    throw std::runtime_error("send failed");
  }
  std::string reply;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        end - std::chrono::steady_clock::now());
    pollfd wait{fd, POLLIN, 0};
    if (left.count() <= 0 || poll(&wait, 1, static_cast<int>(left.count())) <= 0) {
      close(fd);
      throw std::runtime_error("no whole reply to " + target + " in time");
    }
    char buffer[65536];
    const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    reply.append(buffer, static_cast<size_t>(got));
  }
  close(fd);
  THttpReply parsed;
  const size_t blank = reply.find("\r\n\r\n");
  if (blank == std::string::npos || reply.compare(0, 5, "HTTP/") != 0) {
    throw std::runtime_error("not an HTTP reply to " + target + ": " + reply);
  }
  parsed.Head = reply.substr(0, blank);
  parsed.Body = reply.substr(blank + 4);
  parsed.Status = std::stoi(parsed.Head.substr(parsed.Head.find(' ') + 1, 3));
  return parsed;
}

}  // namespace pelmorix::e2e
