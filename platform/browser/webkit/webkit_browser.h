#pragma once

#include <webkit2/webkit2.h>

#include <cstdint>
#include <memory>

#include "platform/browser/web_browser.h"

namespace pelmorix {

class TGtkBackend;

// The browser control on WebKitGTK. It reports top-level loads only: BeforeNavigate2 as a load
// starts, DownloadComplete as it finishes (or fails), and DocumentComplete once the document's
// markup has been read back with JavaScript, so the Document is in place when the handler
// runs.
//
// The view loads what it is asked to and nothing on its own: no disk cache or cookie store, no
// favicons, no spell checker, no proxy discovery, no hyperlink pings, no WebGL or media, no
// hardware acceleration (so it paints under a plain X server, as root too). With the
// environment variable PELMORIX_BROWSER_LOOPBACK_ONLY set, every address that is not on the
// loopback interface goes to a proxy on a closed loopback port and fails (for test rigs).
class TWebKitBrowser : public TBrowserBackend {
 public:
  // Makes the web view, gives it to the GTK backend as the control's widget and attaches
  // itself to the control. Create it before the control's form is first shown.
  TWebKitBrowser(TGtkBackend& ui, TWebBrowser& browser);
  ~TWebKitBrowser() override;
  TWebKitBrowser(const TWebKitBrowser&) = delete;
  TWebKitBrowser& operator=(const TWebKitBrowser&) = delete;

  void Navigate(const std::string& url) override;
  void Refresh() override;
  std::shared_ptr<const THTMLDocument> Document() override { return document_; }

  WebKitWebView* View() const { return view_; }

 private:
  struct TPendingRead;

  static void LoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
  static void MarkupRead(GObject* view, GAsyncResult* result, gpointer pending);
  void ReadMarkup();

  TWebBrowser& browser_;
  WebKitWebView* view_ = nullptr;
  std::shared_ptr<const THTMLDocument> document_;
  // Results of a read that a later load overtook are dropped.
  uint64_t load_serial_ = 0;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The document chain made of what the markup script gave back: null (no body) or an array of
// [tag name, outerHTML] pairs from the body up to the root, in UTF-8.
std::shared_ptr<const THTMLDocument> DocumentFromScriptResult(JSCValue* value);

}  // namespace pelmorix
