#include "platform/ui/event_hold.h"

namespace pelmorix {

void TEventHold::WithFilter(const TMessageFilter& filter, const std::function<void()>& run) {
  const TMessageFilter* outer = filter_;
  filter_ = &filter;
  try {
    run();
  } catch (...) {
    filter_ = outer;
    throw;
  }
  filter_ = outer;
}

bool TEventHold::Holds(const TEventSource& source, const std::function<void()>& handler) {
  if (!filter_) return false;
  bool allowed = false;
  switch (source.Kind) {
    case TEventSource::Click:
      allowed = filter_->AllowsClick(source.Control);
      break;
    case TEventSource::Browser:
      allowed = filter_->BrowserEvents;
      break;
    case TEventSource::Close:
    case TEventSource::Timer:
      break;
  }
  if (!allowed) held_.push_back(handler);
  return !allowed;
}

std::deque<std::function<void()>> TEventHold::Release() {
  std::deque<std::function<void()>> released;
  released.swap(held_);
  return released;
}

}  // namespace pelmorix
