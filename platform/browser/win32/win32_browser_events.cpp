// The platform control's events raised on the browser control, with the frame told by the
// identity of its browser object.
#include "platform/browser/win32/win32_browser.h"

namespace pelmorix {

bool TWin32Browser::BeforeNavigate2(IDispatch* frame, const std::string& url) {
  const TDispatch* object = FrameObject(frame);
  const bool cancel = browser_.DoBeforeNavigate2(object, url);
  // A new top-level page brings new inner frames; the old ones' objects are let go.
  if (object == browser_.DefaultInterface() && !cancel) {
    inner_frames_.clear();
    refresh_hold_.NavigationStarted();
  }
  return cancel;
}

void TWin32Browser::DocumentComplete(IDispatch* frame, const std::string& url) {
  const TDispatch* object = FrameObject(frame);
  const bool topLevel = object == browser_.DefaultInterface();
  if (topLevel) refresh_hold_.NavigationCompleted();
  browser_.DoDocumentComplete(object, url);
  if (topLevel && refresh_hold_.TakeHeldRefresh()) Refresh();
}

void TWin32Browser::DownloadComplete() { browser_.DoDownloadComplete(); }

const TDispatch* TWin32Browser::FrameObject(IDispatch* frame) {
  // COM tells one object by its IUnknown, whichever interface the event hands over.
  TComRef<IUnknown> identity;
  if (!frame ||
      FAILED(frame->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(identity.Put()))))
    return nullptr;
  if (identity.Get() == control_identity_.Get()) return browser_.DefaultInterface();
  TInnerFrame& known = inner_frames_[identity.Get()];
  if (!known.object) {
    known.object = std::make_unique<TDispatch>();
    known.identity = std::move(identity);
  }
  return known.object.get();
}

}  // namespace pelmorix
