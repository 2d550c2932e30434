#pragma once

namespace pelmorix {

// Holds a Refresh asked for while a top-level navigation is open (from its BeforeNavigate2 to
// its DocumentComplete) until that DocumentComplete has been raised. A reload at once would
// overtake the navigation, which would then never complete as such; an inner frame's
// completion, whose handler may ask for a Refresh, would so leave the window without the
// page's completion. Every engine of the control keeps one.
class TRefreshHold {
 public:
  // A top-level navigation begins.
  void NavigationStarted() { navigation_open_ = true; }
  bool NavigationOpen() const { return navigation_open_; }
  // A new page is asked for: it is loaded afresh anyway, so a held Refresh is dropped.
  void NavigateAsked() { refresh_held_ = false; }
  // Whether a Refresh asked for now may run; when not, it is held.
  bool MayRefreshNow();
  // The top-level DocumentComplete is about to be raised: Refresh calls of its handler run.
  void NavigationCompleted() { navigation_open_ = false; }
  // After that DocumentComplete: whether a held Refresh is due now (it is then no longer held).
  bool TakeHeldRefresh();

 private:
  bool navigation_open_ = false;
  bool refresh_held_ = false;
};

}  // namespace pelmorix
