#pragma once

#include "platform/ui/win32/win32_api.h"
// After the system's window headers, which it needs.
#include <objbase.h>

#include <utility>

namespace pelmorix {

// One counted reference to a COM object, released when it goes.
template <class T>
class TComRef {
 public:
  TComRef() = default;
  ~TComRef() { Reset(); }
  TComRef(const TComRef&) = delete;
  TComRef& operator=(const TComRef&) = delete;
  TComRef(TComRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  TComRef& operator=(TComRef&& other) noexcept {
    if (this != &other) {
      Reset();
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }

  // A further reference to an object someone else holds.
  static TComRef Share(T* object) {
    TComRef ref;
    ref.object_ = object;
    if (object) object->AddRef();
    return ref;
  }

  T* Get() const { return object_; }
  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  // The slot for an out argument; what was held is released first.
  T** Put() {
    Reset();
    return &object_;
  }
  void Reset() {
    if (object_) std::exchange(object_, nullptr)->Release();
  }

  // Another interface of the same object, or none.
  template <class U>
  TComRef<U> As(REFIID iid) const {
    TComRef<U> other;
    if (object_) object_->QueryInterface(iid, reinterpret_cast<void**>(other.Put()));
    return other;
  }

 private:
  T* object_ = nullptr;
};

}  // namespace pelmorix
