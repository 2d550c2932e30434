#include "http/socket_layer.h"

#include <cassert>

namespace pelmorix {

TIdSocketLayer::TIdSocketLayer(std::string libraryFile) : binding_(std::move(libraryFile)) {}

TIdSocketLayer::~TIdSocketLayer() {
  socketStack_.reset();
  if (stackStarted_) {
    try {
      binding_.WSACleanup();
    } catch (...) {
      // The library is going away either way.
    }
  }
  binding_.Unload();
}

TIdSocketLayer& TIdSocketLayer::Process() {
  static TIdSocketLayer layer;
  return layer;
}

void TIdSocketLayer::AddComponent() {
  std::lock_guard<std::mutex> guard(stackLock_);
  if (componentCount_++ == 0) {
    try {
      socketStack_ = std::make_unique<TIdStackWindows>(binding_, stackStarted_);
    } catch (...) {
      --componentCount_;
      throw;
    }
  }
}

void TIdSocketLayer::RemoveComponent() {
  std::lock_guard<std::mutex> guard(stackLock_);
  if (componentCount_-- == 1) socketStack_.reset();
}

TIdStack& TIdSocketLayer::Stack() {
  assert(socketStack_ != nullptr);
  return *socketStack_;
}

bool TIdSocketLayer::HasStack() {
  std::lock_guard<std::mutex> guard(stackLock_);
  return socketStack_ != nullptr;
}

int TIdSocketLayer::ComponentCount() {
  std::lock_guard<std::mutex> guard(stackLock_);
  return componentCount_;
}

bool TIdSocketLayer::StackStarted() {
  std::lock_guard<std::mutex> guard(stackLock_);
  return stackStarted_;
}

}  // namespace pelmorix
