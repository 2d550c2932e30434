#pragma once

#include <webkit2/webkit2.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/browser/refresh_hold.h"
#include "platform/browser/web_browser.h"

namespace pelmorix {

class TGtkBackend;

// The browser control on WebKitGTK, raising the events the way the platform's own control
// does:
// - a navigation of the top-level frame: BeforeNavigate2 as it starts, DownloadComplete as it
//   finishes (or fails), and DocumentComplete once the document's markup has been read back
//   with JavaScript, so the Document is in place when the handler runs;
// - a Refresh: DownloadComplete only. A Refresh asked for while a navigation is still under way
//   (an inner frame's completion may ask for one) waits until that navigation's DocumentComplete
//   has been raised, so the navigation completes as such and one reload follows it;
// - a document completed in an inner frame: DocumentComplete with that frame's own browser
//   object (a user script in every frame reports its load event), unless a Refresh reloads
//   it. BeforeNavigate2 is raised for the top-level frame only.
//
// The view loads what it is asked to and nothing on its own: no disk cache or cookie store, no
// favicons, no spell checker, no proxy discovery, no hyperlink pings, no WebGL or media, no
// hardware acceleration (so it paints under a plain X server, as root too). With the
// environment variable PELMORIX_BROWSER_LOOPBACK_ONLY set, every address that is not on the
// loopback interface goes to a proxy on a closed loopback port and fails (for test rigs).
class TWebKitBrowser : public TBrowserBackend {
 public:
  // Makes the web view, gives it to the GTK backend as the control's widget and attaches
  // itself to the control. It also starts the web process with a blank page that raises no
  // events, so that the browser's start-up overlaps whatever runs before the first Navigate.
  // Create it before the control's form is first shown.
  TWebKitBrowser(TGtkBackend& ui, TWebBrowser& browser);
  ~TWebKitBrowser() override;
  TWebKitBrowser(const TWebKitBrowser&) = delete;
  TWebKitBrowser& operator=(const TWebKitBrowser&) = delete;

  void Navigate(const std::string& url) override;
  // Several Refresh calls before the message loop runs again make one reload.
  void Refresh() override;
  std::shared_ptr<const THTMLDocument> Document() override { return document_; }

  WebKitWebView* View() const { return view_; }

 private:
  // What a load of the top-level frame is, as its navigation decision says.
  enum class TLoadKind { Navigation, Reload, WarmUp };
  struct TPendingRead;

  static void LoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
  static gboolean DecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                               WebKitPolicyDecisionType type, gpointer self);
  static void FrameLoaded(WebKitUserContentManager* manager, WebKitJavascriptResult* result,
                          gpointer self);
  static gboolean RunQueuedRefresh(gpointer self);
  static void MarkupRead(GObject* view, GAsyncResult* result, gpointer pending);
  void LoadStarted();
  void LoadFinished();
  // Reads the Document; then DocumentComplete for the frame (none: no event) with the address
  // (empty: the top-level one).
  void ReadMarkup(const TDispatch* frame, const std::string& url = "");
  const TDispatch* InnerFrame(const std::string& path);
  void AddFrameReports();

  TWebBrowser& browser_;
  WebKitWebView* view_ = nullptr;
  std::shared_ptr<const THTMLDocument> document_;
  // The kind of the top-level load the last navigation decision announced, and of the load
  // under way.
  TLoadKind announced_ = TLoadKind::Navigation;
  std::string announced_url_;
  TLoadKind current_ = TLoadKind::WarmUp;
  bool warm_up_announced_ = false;
  // Open between a top-level BeforeNavigate2 and its DocumentComplete.
  TRefreshHold refresh_hold_;
  bool loading_ = false;
  guint queued_refresh_ = 0;
  std::map<std::string, std::unique_ptr<TDispatch>> inner_frames_;
  // Results of a read that a later load overtook are dropped.
  uint64_t load_serial_ = 0;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The document chain made of what the markup script gave back: null (no body) or an array of
// [tag name, outerHTML] pairs from the body up to the root, in UTF-8.
std::shared_ptr<const THTMLDocument> DocumentFromScriptResult(JSCValue* value);

}  // namespace pelmorix
