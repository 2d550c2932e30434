#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "http/id_stack.h"
#include "http/socket_handle.h"

namespace pelmorix {

// Runs one blocking connect of a socket handle on a thread of its own, so the caller can give
// up after a time-out. Created suspended; the caller reads the outcome only after Terminated.
class TIdConnectThread {
 public:
  TIdConnectThread(TIdStack& stack, TIdSocketHandle& handle);
  ~TIdConnectThread();
  TIdConnectThread(const TIdConnectThread&) = delete;
  TIdConnectThread& operator=(const TIdConnectThread&) = delete;

  void Start();
  void WaitFor();
  bool Terminated() const { return terminated_.load(std::memory_order_acquire); }
  void Terminate();
  // Waits up to the given time, less when the thread terminates first; returns Terminated.
  bool WaitTerminated(int milliseconds);

  // Empty when the connect raised nothing.
  const std::string& FailureMessage() const { return failureMessage_; }
  // The socket error number of a failure, 0 for none or for a failure without one.
  int32_t ErrorNumber() const { return errorNumber_; }

 private:
  void Execute();

  TIdStack& stack_;
  TIdSocketHandle& handle_;
  std::thread thread_;
  std::atomic<bool> terminated_{false};
  // Set under the mutex, so a waiter cannot miss the signal between its test and its wait.
  std::mutex terminatedMutex_;
  std::condition_variable terminatedSignal_;
  std::string failureMessage_;
  int32_t errorNumber_ = 0;
};

}  // namespace pelmorix
