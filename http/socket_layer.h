#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "http/id_stack_windows.h"
#include "http/winsock_binding.h"

namespace pelmorix {

// The process-wide state of the socket layer: the library binding, the count of live
// components and the one socket stack, which exists exactly while a component does. The
// library is started at most once and cleaned up when this object ends (at process end for the
// process's own layer). Tests create layers of their own.
class TIdSocketLayer {
 public:
  explicit TIdSocketLayer(std::string libraryFile = kWinSockLibraryFile);
  ~TIdSocketLayer();
  TIdSocketLayer(const TIdSocketLayer&) = delete;
  TIdSocketLayer& operator=(const TIdSocketLayer&) = delete;

  // The layer every component uses unless it is given another.
  static TIdSocketLayer& Process();

  // A component was created: the first one creates the stack (starting the library). When that
  // fails the count is taken back and the failure propagates.
  void AddComponent();
  // A component ends: the last one destroys the stack.
  void RemoveComponent();

  // The socket stack; only while a component exists.
  TIdStack& Stack();
  bool HasStack();
  int ComponentCount();
  bool StackStarted();
  TWinSockBinding& WinSockBinding() { return binding_; }

 private:
  TWinSockBinding binding_;
  std::mutex stackLock_;
  int componentCount_ = 0;
  bool stackStarted_ = false;
  std::unique_ptr<TIdStackWindows> socketStack_;
};

}  // namespace pelmorix
