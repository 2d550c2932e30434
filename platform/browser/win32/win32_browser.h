#pragma once

#include "platform/ui/win32/win32_api.h"
// After the system's window headers, which it needs.
#include <exdisp.h>
#include <oleidl.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/browser/refresh_hold.h"
#include "platform/browser/web_browser.h"
#include "platform/browser/win32/browser_events.h"
#include "platform/browser/win32/com_ref.h"

namespace pelmorix {

class TBrowserSite;
class TWin32Backend;

// The browser control on the platform's own web browser control, hosted in place in the plain
// window the Win32 toolkit gives the control, edge to edge, following that window's size. The
// events are the control's own: BeforeNavigate2, DocumentComplete and DownloadComplete, each
// with the browser object of the frame it concerns; the top-level frame's is passed on as the
// control's DefaultInterface, every inner frame has a TDispatch of its own.
//
// OLE is initialised on the calling (window) thread for the object's lifetime. When the
// platform's control cannot be made, the object still attaches itself but is not Available:
// navigations and refreshes then do nothing and there is never a document.
class TWin32Browser : public TBrowserBackend, private TBrowserEventTarget {
 public:
  // Attaches itself to the control. Create it before or after the form is first shown: the
  // platform's control is put in place once the control's window exists, and a navigation
  // asked for before then is made at that moment. Destroy it before the control.
  TWin32Browser(TWin32Backend& ui, TWebBrowser& browser);
  ~TWin32Browser() override;
  TWin32Browser(const TWin32Browser&) = delete;
  TWin32Browser& operator=(const TWin32Browser&) = delete;

  // Raises when the control refuses the address.
  void Navigate(const std::string& url) override;
  // Held while a top-level navigation is open, until its DocumentComplete has been raised: the
  // control's Refresh raises no BeforeNavigate2 and no DocumentComplete of its own, and one
  // asked for by an inner frame's completion would otherwise replace the open load.
  void Refresh() override;
  std::shared_ptr<const THTMLDocument> Document() override;

  // Whether the platform's browser control exists.
  bool Available() const { return static_cast<bool>(control_); }
  // The window of the platform's control once it is in place, or none.
  ::HWND ControlWindow() const;

 private:
  void Host(::HWND window);
  void Activate(::HWND window);
  void Close();
  void FitToWindow();
  bool TranslateKey(MSG& message);
  static LRESULT CALLBACK HostWindowProcedure(::HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam);

  bool BeforeNavigate2(IDispatch* frame, const std::string& url) override;
  void DocumentComplete(IDispatch* frame, const std::string& url) override;
  void DownloadComplete() override;
  const TDispatch* FrameObject(IDispatch* frame);

  TWin32Backend& ui_;
  TWebBrowser& browser_;
  bool ole_initialised_ = false;
  // The toolkit's window for the control, and its own procedure, which ours passes on to.
  ::HWND window_ = nullptr;
  WNDPROC toolkit_procedure_ = nullptr;
  TComRef<IWebBrowser2> control_;
  TComRef<IUnknown> control_identity_;
  TComRef<IOleObject> ole_object_;
  TComRef<IOleInPlaceObject> in_place_;
  TBrowserSite* site_ = nullptr;
  TBrowserEventSink* events_ = nullptr;
  std::optional<std::string> pending_url_;
  TRefreshHold refresh_hold_;
  struct TInnerFrame {
    TComRef<IUnknown> identity;  // held, so that its address names no other frame
    std::unique_ptr<TDispatch> object;
  };
  std::map<IUnknown*, TInnerFrame> inner_frames_;
};

}  // namespace pelmorix
