#include "tests/support/scripted_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

namespace pelmorix {

TConnectionScript& TConnectionScript::ReadRequest() {
  steps_.push_back({TStep::kReadRequest, "", 0, 0});
  return *this;
}

TConnectionScript& TConnectionScript::ReadBytes(size_t count) {
  steps_.push_back({TStep::kReadBytes, "", count, 0});
  return *this;
}

TConnectionScript& TConnectionScript::ReadFor(int milliseconds) {
  steps_.push_back({TStep::kReadFor, "", 0, milliseconds});
  return *this;
}

TConnectionScript& TConnectionScript::Send(std::string bytes) {
  steps_.push_back({TStep::kSend, std::move(bytes), 0, 0});
  return *this;
}

TConnectionScript& TConnectionScript::SendInPieces(const std::string& bytes, size_t pieceSize,
                                                   int delayMs) {
  for (size_t at = 0; at < bytes.size(); at += pieceSize) {
    Send(bytes.substr(at, pieceSize));
    Delay(delayMs);
  }
  return *this;
}

TConnectionScript& TConnectionScript::Delay(int milliseconds) {
  steps_.push_back({TStep::kDelay, "", 0, milliseconds});
  return *this;
}

TConnectionScript& TConnectionScript::Close() {
  steps_.push_back({TStep::kClose, "", 0, 0});
  return *this;
}

TConnectionScript& TConnectionScript::Reset() {
  steps_.push_back({TStep::kReset, "", 0, 0});
  return *this;
}

TConnectionScript& TConnectionScript::Hold() {
  steps_.push_back({TStep::kHold, "", 0, 0});
  return *this;
}

struct TScriptedServer::TConnection {
  int fd = -1;
  size_t index = 0;
  std::string pending;  // received, not yet taken by a read step
  bool peerClosed = false;
};

TScriptedServer::TScriptedServer(std::vector<TConnectionScript> scripts)
    : scripts_(std::move(scripts)) {
  int wake[2];
  if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("pipe failed");
  wakeRead_ = wake[0];
  wakeWrite_ = wake[1];
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof(address);
  if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      listen(listener_, 16) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error(std::string("scripted server: ") + std::strerror(errno));
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread(&TScriptedServer::Run, this);
}

TScriptedServer::~TScriptedServer() {
  Stop();
  close(listener_);
  close(wakeRead_);
  close(wakeWrite_);
}

void TScriptedServer::Stop() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    stopping_ = true;
  }
  const char wake = 1;
  [[maybe_unused]] const ssize_t written = write(wakeWrite_, &wake, 1);
  if (thread_.joinable()) thread_.join();
}

size_t TScriptedServer::AcceptedCount() {
  std::lock_guard<std::mutex> guard(lock_);
  return received_.size();
}

std::string TScriptedServer::Received(size_t connection) {
  std::lock_guard<std::mutex> guard(lock_);
  return connection < received_.size() ? received_[connection] : std::string();
}

bool TScriptedServer::WaitForFinished(size_t count, int timeoutMs) {
  std::unique_lock<std::mutex> guard(lock_);
  return changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                           [&] { return finished_ >= count; });
}

std::vector<std::string> TScriptedServer::Problems() {
  std::lock_guard<std::mutex> guard(lock_);
  return problems_;
}

void TScriptedServer::Note(const std::string& problem) {
  std::lock_guard<std::mutex> guard(lock_);
  problems_.push_back(problem);
}

// Waits for the events on fd; false when the server stops or the time runs out.
bool TScriptedServer::WaitFor(int fd, short events, int timeoutMs) {
  pollfd entries[2] = {{fd, events, 0}, {wakeRead_, POLLIN, 0}};
  for (;;) {
    const int result = poll(entries, 2, timeoutMs);
    if (result < 0 && errno == EINTR) continue;
    if (result <= 0 || (entries[1].revents & POLLIN)) return false;
    return true;
  }
}

bool TScriptedServer::Pause(int milliseconds) {
  pollfd entry{wakeRead_, POLLIN, 0};
  return poll(&entry, 1, milliseconds) == 0;
}

// Reads what is there into the connection's pending bytes and its record.
bool TScriptedServer::ReadMore(TConnection& connection, int timeoutMs) {
  if (connection.peerClosed || !WaitFor(connection.fd, POLLIN, timeoutMs)) return false;
  char buffer[65536];
  const ssize_t got = recv(connection.fd, buffer, sizeof(buffer), MSG_DONTWAIT);
  if (got <= 0) {
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) return true;
    connection.peerClosed = true;
    return false;
  }
  connection.pending.append(buffer, static_cast<size_t>(got));
  std::lock_guard<std::mutex> guard(lock_);
  received_[connection.index].append(buffer, static_cast<size_t>(got));
  return true;
}

bool TScriptedServer::SendAll(int fd, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t result =
        send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (result > 0) {
      sent += static_cast<size_t>(result);
    } else if (result < 0 && (errno == EAGAIN || errno == EINTR)) {
      if (!WaitFor(fd, POLLOUT, kStepLimitMs)) return false;
    } else {
      return false;
    }
  }
  return true;
}

namespace {

size_t EndOfHead(const std::string& bytes) {
  const size_t crlf = bytes.find("\r\n\r\n");
  const size_t lf = bytes.find("\n\n");
  if (crlf == std::string::npos && lf == std::string::npos) return std::string::npos;
  if (lf == std::string::npos || (crlf != std::string::npos && crlf < lf)) return crlf + 4;
  return lf + 2;
}

long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

bool TScriptedServer::Play(TConnection& connection, const TConnectionScript& script) {
  using TStep = TConnectionScript::TStep;
  const int fd = connection.fd;
  for (const TStep& step : script.Steps()) {
    switch (step.kind) {
      case TStep::kReadRequest: {
        size_t end;
        while ((end = EndOfHead(connection.pending)) == std::string::npos) {
          if (!ReadMore(connection, kStepLimitMs)) {
            Note("no complete request head on connection " + std::to_string(connection.index));
            return false;
          }
        }
        connection.pending.erase(0, end);
        break;
      }
      case TStep::kReadBytes:
        while (connection.pending.size() < step.count) {
          if (!ReadMore(connection, kStepLimitMs)) {
            Note("too few bytes on connection " + std::to_string(connection.index));
            return false;
          }
        }
        connection.pending.erase(0, step.count);
        break;
      case TStep::kReadFor: {
        const long long end = NowMs() + step.milliseconds;
        for (long long left; (left = end - NowMs()) > 0;) {
          if (!ReadMore(connection, static_cast<int>(left)) && connection.peerClosed) break;
        }
        connection.pending.clear();
        break;
      }
      case TStep::kSend:
        if (!SendAll(fd, step.bytes)) {
          Note("send failed on connection " + std::to_string(connection.index));
          return false;
        }
        break;
      case TStep::kDelay:
        if (!Pause(step.milliseconds)) return false;
        break;
      case TStep::kClose:
        return false;
      case TStep::kReset: {
        const linger abortive{1, 0};
        setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof(abortive));
        return true;
      }
      case TStep::kHold:
        while (ReadMore(connection, -1)) {
        }
        return false;
    }
  }
  return false;
}

void TScriptedServer::Run() {
  for (size_t index = 0;; ++index) {
    if (!WaitFor(listener_, POLLIN, -1)) return;
    const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    {
      std::lock_guard<std::mutex> guard(lock_);
      received_.emplace_back();
    }
    TConnection connection;
    connection.fd = fd;
    connection.index = index;
    const bool reset = index < scripts_.size() && Play(connection, scripts_[index]);
    if (!reset) {
      // A graceful close: the end of the sending side first, then whatever the client still
      // sent is read, so that the close does not turn into a reset.
      shutdown(fd, SHUT_WR);
      while (ReadMore(connection, 0)) {
      }
    }
    close(fd);
    std::lock_guard<std::mutex> guard(lock_);
    ++finished_;
    changed_.notify_all();
  }
}

}  // namespace pelmorix
