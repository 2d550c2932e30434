#pragma once

#include <algorithm>
#include <vector>

namespace pelmorix {

class TComponent;

// What may run when messages are let through in the middle of a request. Painting (and the
// moves and resizes it follows) always runs; everything else a filter does not allow waits
// until messages run without a filter.
struct TMessageFilter {
  // Controls whose clicks may run.
  std::vector<const TComponent*> Clicks;
  // The browser control's events.
  bool BrowserEvents = false;

  bool AllowsClick(const TComponent* control) const {
    return std::find(Clicks.begin(), Clicks.end(), control) != Clicks.end();
  }
};

// Where an event comes from, for the filter to judge.
struct TEventSource {
  enum TKind { Click, Close, Timer, Browser };
  TKind Kind;
  const TComponent* Control = nullptr;
};

}  // namespace pelmorix
