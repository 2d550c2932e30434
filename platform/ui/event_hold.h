#pragma once

#include <deque>
#include <functional>

#include "platform/ui/message_filter.h"

namespace pelmorix {

// The events a message filter keeps back, in the order they came, until messages run without
// a filter again.
class TEventHold {
 public:
  // The filter in force while `run` goes; filters nest, the innermost holds.
  void WithFilter(const TMessageFilter& filter, const std::function<void()>& run);
  // Whether the event must wait; when it must, the handler is kept.
  bool Holds(const TEventSource& source, const std::function<void()>& handler);
  // Gives the kept handlers in their order and forgets them.
  std::deque<std::function<void()>> Release();
  bool Filtering() const { return filter_ != nullptr; }
  // The filter in force, none outside a filtered pass.
  const TMessageFilter* Filter() const { return filter_; }

 private:
  const TMessageFilter* filter_ = nullptr;
  std::deque<std::function<void()>> held_;
};

}  // namespace pelmorix
