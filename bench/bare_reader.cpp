// The floor for a download: sends one GET to 127.0.0.1 and copies whatever arrives to standard
// output until the server closes, parsing nothing. Like the client it receives on a
// non-blocking socket and waits for readability only when nothing is waiting, so with the
// client's receive size it shows what the socket calls alone cost. Built and run by
// bench/compare.sh.
//
// Usage: bare-reader PORT PATH RECEIVE-SIZE

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace pelmorix {
namespace {

bool WriteAll(int fd, const char* bytes, size_t count) {
  while (count > 0) {
    const ssize_t n = ::write(fd, bytes, count);
    if (n <= 0) return false;
    bytes += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

int Run(int port, const std::string& path, size_t receiveSize) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (s < 0 || ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
    std::perror("bare-reader: connect");
    return 1;
  }
  const std::string request =
      "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
  if (!WriteAll(s, request.data(), request.size())) return 1;
  if (::fcntl(s, F_SETFL, ::fcntl(s, F_GETFL) | O_NONBLOCK) != 0) return 1;
  std::vector<char> buffer(receiveSize);
  for (;;) {
    const ssize_t n = ::recv(s, buffer.data(), buffer.size(), 0);
    if (n < 0 && errno == EAGAIN) {
      pollfd readable{s, POLLIN, 0};
      if (::poll(&readable, 1, -1) < 0) return 1;
      continue;
    }
    if (n < 0) return 1;
    if (n == 0) break;
    if (!WriteAll(STDOUT_FILENO, buffer.data(), static_cast<size_t>(n))) return 1;
  }
  ::close(s);
  return 0;
}

}  // namespace
}  // namespace pelmorix

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "Usage: bare-reader PORT PATH RECEIVE-SIZE\n");
    return 2;
  }
  return pelmorix::Run(std::atoi(argv[1]), argv[2], static_cast<size_t>(std::atol(argv[3])));
}
