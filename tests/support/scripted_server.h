#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/test_sockets.h"

namespace pelmorix {

// What a scripted server does on one accepted connection, step by step.
class TConnectionScript {
 public:
  struct TStep {
    enum TKind { kReadRequest, kReadBytes, kReadFor, kSend, kDelay, kClose, kReset, kHold };
    TKind kind;
    std::string bytes;
    size_t count = 0;
    int milliseconds = 0;
  };

  // Reads until a blank line (CR LF CR LF, or LF LF) ends a request head.
  TConnectionScript& ReadRequest();
  TConnectionScript& ReadBytes(size_t count);
  // Reads whatever arrives during the time.
  TConnectionScript& ReadFor(int milliseconds);
  TConnectionScript& Send(std::string bytes);
  // Sends the bytes in pieces of the given size with a delay after each piece.
  TConnectionScript& SendInPieces(const std::string& bytes, size_t pieceSize, int delayMs);
  TConnectionScript& Delay(int milliseconds);
  // A graceful close (FIN). A script that ends without a close closes this way.
  TConnectionScript& Close();
  // An abortive close (RST).
  TConnectionScript& Reset();
  // Neither sends nor closes: reads and records until the client closes or the server stops.
  TConnectionScript& Hold();

  const std::vector<TStep>& Steps() const { return steps_; }

 private:
  std::vector<TStep> steps_;
};

// A loopback server on 127.0.0.1 and a port of the system's choosing. A thread accepts
// connections one after another and plays the next script on each (connections beyond the
// scripts are closed at once), recording every byte received per connection. Every wait of the
// thread also watches for the stop, so destruction never hangs.
class TScriptedServer {
 public:
  explicit TScriptedServer(std::vector<TConnectionScript> scripts = {});
  ~TScriptedServer();
  TScriptedServer(const TScriptedServer&) = delete;
  TScriptedServer& operator=(const TScriptedServer&) = delete;

  uint16_t Port() const { return port_; }
  // Connections accepted so far.
  size_t AcceptedCount();
  // Bytes received so far on the connection (0-based, in accept order).
  std::string Received(size_t connection);
  // Waits until count connections have been accepted and their scripts ended.
  bool WaitForFinished(size_t count, int timeoutMs = 10000);
  // A step that could not be carried out (a read that waited too long, a failed send).
  std::vector<std::string> Problems();
  void Stop();

  // How long a read step waits for the client before it gives up.
  static constexpr int kStepLimitMs = 15000;

 private:
  struct TConnection;
  void Run();
  // True when the script ended with a reset.
  bool Play(TConnection& connection, const TConnectionScript& script);
  bool WaitFor(TTestSocket socket, bool write, int timeoutMs);
  bool ReadMore(TConnection& connection, int timeoutMs);
  bool SendAll(TTestSocket socket, const std::string& bytes);
  bool Pause(int milliseconds);
  void Note(const std::string& problem);

  std::vector<TConnectionScript> scripts_;
  TTestSocketUse socketUse_;
  TTestSocket listener_ = kNoTestSocket;
  TTestSocket wakeRead_ = kNoTestSocket;
  TTestSocket wakeWrite_ = kNoTestSocket;
  uint16_t port_ = 0;
  std::thread thread_;
  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<std::string> received_;
  size_t finished_ = 0;
  std::vector<std::string> problems_;
  bool stopping_ = false;
};

}  // namespace pelmorix
