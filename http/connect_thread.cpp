#include "http/connect_thread.h"

#include <chrono>

#include "base/exception.h"
#include "http/socket_exceptions.h"

namespace pelmorix {

TIdConnectThread::TIdConnectThread(TIdStack& stack, TIdSocketHandle& handle)
    : stack_(stack), handle_(handle) {}

TIdConnectThread::~TIdConnectThread() { WaitFor(); }

void TIdConnectThread::Start() { thread_ = std::thread(&TIdConnectThread::Execute, this); }

void TIdConnectThread::WaitFor() {
  if (thread_.joinable()) thread_.join();
}

void TIdConnectThread::Terminate() {
  {
    const std::lock_guard guard(terminatedMutex_);
    terminated_.store(true, std::memory_order_release);
  }
  terminatedSignal_.notify_all();
}

bool TIdConnectThread::WaitTerminated(int milliseconds) {
  std::unique_lock guard(terminatedMutex_);
  return terminatedSignal_.wait_for(guard, std::chrono::milliseconds(milliseconds),
                                    [this] { return Terminated(); });
}

void TIdConnectThread::Execute() {
  try {
    // A socket closed under the connect by the waiting caller fails with one of these.
    stack_.CheckResult(handle_.ConnectToPeer(WS_AF_INET), {WSAEBADF, WSAENOTSOCK});
  } catch (const EIdSocketError& error) {
    failureMessage_ = error.Message();
    errorNumber_ = error.LastError();
  } catch (const Exception& error) {
    failureMessage_ = error.Message();
  } catch (const std::exception& error) {
    failureMessage_ = error.what();
  }
  Terminate();
}

}  // namespace pelmorix
