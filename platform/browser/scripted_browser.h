#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/browser/refresh_hold.h"
#include "platform/browser/web_browser.h"

namespace pelmorix {

// A browser engine for tests: records what the control asks of it and plays the events of
// loads that a test describes, in inner frames too, with documents that may lack a body or
// fail to be read.
class TScriptedBrowser : public TBrowserBackend {
 public:
  // Attaches itself to the control, and detaches again when destroyed.
  explicit TScriptedBrowser(TWebBrowser& browser);
  ~TScriptedBrowser() override;

  void Navigate(const std::string& url) override;
  // Counted in Refreshes; held while a top-level navigation is open, as the engines do.
  void Refresh() override;
  std::shared_ptr<const THTMLDocument> Document() override;

  // A whole top-level load: BeforeNavigate2, then (unless cancelled) the document takes its
  // place, DownloadComplete and DocumentComplete follow. Gives false when cancelled.
  bool LoadPage(const std::string& url, std::shared_ptr<const THTMLDocument> document);
  // The same with a document made of markup (DocumentOfMarkup).
  bool LoadPage(const std::string& url, const std::string& markup);
  // The document of a page's markup: the root's outerHTML is the markup, the body's the part
  // from "<body" to the end of "</body>" (the whole markup when there is none).
  static std::shared_ptr<const THTMLDocument> DocumentOfMarkup(const std::string& markup);
  // A load inside inner frame number `frame`: BeforeNavigate2, DownloadComplete and
  // DocumentComplete with that frame's browser object; the document stays the top-level one.
  void LoadInnerFrame(const std::string& url, int frame = 0);

  // The browser object of inner frame `index` (made on first use).
  const TDispatch* InnerFrame(int index);
  const TDispatch* TopLevel() const { return browser_.DefaultInterface(); }

  // Single events, for orders a whole load does not give.
  bool BeforeNavigate2(const TDispatch* frame, const std::string& url);
  void DocumentComplete(const TDispatch* frame, const std::string& url);
  void DownloadComplete();
  void SetDocument(std::shared_ptr<const THTMLDocument> document) {
    document_ = std::move(document);
  }

  // Reading the Document raises while this is set.
  bool FailDocumentRead = false;
  std::vector<std::string> Navigations;
  // The reloads made: a held Refresh counts once its navigation has completed.
  int Refreshes = 0;

 private:
  TWebBrowser& browser_;
  std::shared_ptr<const THTMLDocument> document_;
  std::vector<std::unique_ptr<TDispatch>> frames_;
  TRefreshHold refresh_hold_;
};

}  // namespace pelmorix
