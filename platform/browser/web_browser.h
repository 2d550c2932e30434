#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/browser/html_document.h"
#include "platform/ui/control.h"

namespace pelmorix {

// The browser object of one frame. Events carry the object of the frame they concern; the
// top-level frame's is the control's DefaultInterface, so comparing the two by identity tells
// the top-level frame from inner frames.
class TDispatch {
 public:
  virtual ~TDispatch() = default;
};

// What a browser engine does for the control.
class TBrowserBackend {
 public:
  virtual ~TBrowserBackend() = default;
  virtual void Navigate(const std::string& url) = 0;
  virtual void Refresh() = 0;
  // The loaded document, or none; may raise when it cannot be read.
  virtual std::shared_ptr<const THTMLDocument> Document() = 0;
};

using TBeforeNavigate2Event =
    std::function<void(TObject* Sender, const TDispatch* pDisp, const std::string& URL, int Flags,
                       const std::string& TargetFrameName, const std::string& PostData,
                       const std::string& Headers, bool& Cancel)>;
using TDocumentCompleteEvent =
    std::function<void(TObject* Sender, const TDispatch* pDisp, const std::string& URL)>;

// The web browser control. Addresses and markup are Windows-1252 texts; the backend converts
// them for the engine. Events raised by the backend pass through the application's event
// dispatch, so an exception that leaves a handler reaches the default error report.
class TWebBrowser : public TControl {
 public:
  using TControl::TControl;
  ~TWebBrowser() override;

  // The backend is only referenced; it must outlive its use or be detached (nullptr).
  void SetBackend(TBrowserBackend* backend) { backend_ = backend; }
  TBrowserBackend* Backend() const { return backend_; }

  // Navigate with every optional argument (flags, target frame, post data, headers) empty.
  void Navigate(const std::string& URL);
  void Refresh();
  std::shared_ptr<const THTMLDocument> Document();
  const TDispatch* DefaultInterface() const { return &top_level_; }

  TBeforeNavigate2Event OnBeforeNavigate2;
  TDocumentCompleteEvent OnDocumentComplete;
  TNotifyEvent OnDownloadComplete;

  // Raised by the backend. BeforeNavigate2 gives back whether a handler cancelled.
  bool DoBeforeNavigate2(const TDispatch* pDisp, const std::string& URL);
  void DoDocumentComplete(const TDispatch* pDisp, const std::string& URL);
  void DoDownloadComplete();

 private:
  void Dispatch(const std::function<void()>& handler);
  // For a notification a message filter may keep back until messages run freely again.
  void DispatchHeld(const std::function<void()>& handler);

  TBrowserBackend* backend_ = nullptr;
  TDispatch top_level_;
};

}  // namespace pelmorix
