#include "tests/support/scripted_server.h"

#include <chrono>
#include <stdexcept>

#include "tests/support/test_sockets.h"

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
  TTestSocket socket = kNoTestSocket;
  size_t index = 0;
  std::string pending;  // received, not yet taken by a read step
  bool peerClosed = false;
};

namespace {

// A connected pair of loopback sockets: a byte sent on one end wakes every wait on the other.
void WakePair(TTestSocket& readEnd, TTestSocket& writeEnd) {
  const TTestSocket listener = BoundLoopbackSocket();
  writeEnd = BoundLoopbackSocket();
  if (listener == kNoTestSocket || writeEnd == kNoTestSocket || !ListenOn(listener, 1) ||
      ConnectLoopback(writeEnd, LocalPort(listener)) != 1 ||
      (readEnd = AcceptConnection(listener)) == kNoTestSocket) {
    throw std::runtime_error("scripted server: no wake-up pair");
  }
  CloseTestSocket(listener);
}

}  // namespace

TScriptedServer::TScriptedServer(std::vector<TConnectionScript> scripts)
    : scripts_(std::move(scripts)) {
  WakePair(wakeRead_, wakeWrite_);
  listener_ = BoundLoopbackSocket();
  if (listener_ == kNoTestSocket || !ListenOn(listener_, 16)) {
    throw std::runtime_error("scripted server: cannot listen on 127.0.0.1");
  }
  port_ = LocalPort(listener_);
  thread_ = std::thread(&TScriptedServer::Run, this);
}

TScriptedServer::~TScriptedServer() {
  Stop();
  CloseTestSocket(listener_);
  CloseTestSocket(wakeRead_);
  CloseTestSocket(wakeWrite_);
}

void TScriptedServer::Stop() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    stopping_ = true;
  }
  const char wake = 1;
  SendNow(wakeWrite_, &wake, 1);
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

// Waits for the socket to be readable (or writable); false when the server stops or the time
// runs out.
bool TScriptedServer::WaitFor(TTestSocket socket, bool write, int timeoutMs) {
  TSocketWait waits[2] = {{socket, write}, {wakeRead_}};
  return WaitForSockets(waits, 2, timeoutMs) > 0 && !waits[1].Ready;
}

bool TScriptedServer::Pause(int milliseconds) {
  TSocketWait wake{wakeRead_};
  return WaitForSockets(&wake, 1, milliseconds) == 0;
}

// Reads what is there into the connection's pending bytes and its record.
bool TScriptedServer::ReadMore(TConnection& connection, int timeoutMs) {
  if (connection.peerClosed || !WaitFor(connection.socket, false, timeoutMs)) return false;
  char buffer[65536];
  const long got = ReceiveNow(connection.socket, buffer, sizeof(buffer));
  if (got <= 0) {
    if (got == kWouldWait) return true;
    connection.peerClosed = true;
    return false;
  }
  connection.pending.append(buffer, static_cast<size_t>(got));
  std::lock_guard<std::mutex> guard(lock_);
  received_[connection.index].append(buffer, static_cast<size_t>(got));
  return true;
}

bool TScriptedServer::SendAll(TTestSocket socket, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const long result = SendNow(socket, bytes.data() + sent, bytes.size() - sent);
    if (result > 0) {
      sent += static_cast<size_t>(result);
    } else if (result == kWouldWait) {
      if (!WaitFor(socket, true, kStepLimitMs)) return false;
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
  const TTestSocket socket = connection.socket;
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
        if (!SendAll(socket, step.bytes)) {
          Note("send failed on connection " + std::to_string(connection.index));
          return false;
        }
        break;
      case TStep::kDelay:
        if (!Pause(step.milliseconds)) return false;
        break;
      case TStep::kClose:
        return false;
      case TStep::kReset:
        ResetOnClose(socket);
        return true;
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
    if (!WaitFor(listener_, false, -1)) return;
    const TTestSocket socket = AcceptConnection(listener_);
    if (socket == kNoTestSocket) continue;
    {
      std::lock_guard<std::mutex> guard(lock_);
      received_.emplace_back();
    }
    TConnection connection;
    connection.socket = socket;
    connection.index = index;
    const bool reset = index < scripts_.size() && Play(connection, scripts_[index]);
    if (!reset) {
      // A graceful close: the end of the sending side first, then whatever the client still
      // sent is read, so that the close does not turn into a reset.
      ShutdownSending(socket);
      while (ReadMore(connection, 0)) {
      }
    }
    CloseTestSocket(socket);
    std::lock_guard<std::mutex> guard(lock_);
    ++finished_;
    changed_.notify_all();
  }
}

}  // namespace pelmorix
