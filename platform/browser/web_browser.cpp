#include "platform/browser/web_browser.h"

#include "base/exception.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"

namespace pelmorix {

namespace {

TBrowserBackend& Require(TBrowserBackend* backend) {
  if (!backend) throw Exception("The browser control has no engine");
  return *backend;
}

}  // namespace

TWebBrowser::~TWebBrowser() = default;

void TWebBrowser::Navigate(const std::string& URL) { Require(backend_).Navigate(URL); }

void TWebBrowser::Refresh() { Require(backend_).Refresh(); }

std::shared_ptr<const THTMLDocument> TWebBrowser::Document() {
  return backend_ ? backend_->Document() : nullptr;
}

// Its answer is needed at once, so a message filter cannot keep it back.
bool TWebBrowser::DoBeforeNavigate2(const TDispatch* pDisp, const std::string& URL) {
  bool cancel = false;
  if (OnBeforeNavigate2)
    Dispatch([&] { OnBeforeNavigate2(this, pDisp, URL, 0, "", "", "", cancel); });
  return cancel;
}

void TWebBrowser::DoDocumentComplete(const TDispatch* pDisp, const std::string& URL) {
  if (OnDocumentComplete)
    DispatchHeld([this, pDisp, URL] { OnDocumentComplete(this, pDisp, URL); });
}

void TWebBrowser::DoDownloadComplete() {
  if (OnDownloadComplete) DispatchHeld([this] { OnDownloadComplete(this); });
}

void TWebBrowser::Dispatch(const std::function<void()>& handler) {
  if (TForm* form = ParentForm())
    form->Application().DispatchEvent(handler);
  else
    handler();
}

void TWebBrowser::DispatchHeld(const std::function<void()>& handler) {
  if (TForm* form = ParentForm())
    form->Application().DispatchEvent({TEventSource::Browser, this}, handler);
  else
    handler();
}

}  // namespace pelmorix
