#include "platform/browser/scripted_browser.h"

#include "base/exception.h"

namespace pelmorix {

TScriptedBrowser::TScriptedBrowser(TWebBrowser& browser) : browser_(browser) {
  browser_.SetBackend(this);
}

TScriptedBrowser::~TScriptedBrowser() {
  if (browser_.Backend() == this) browser_.SetBackend(nullptr);
}

void TScriptedBrowser::Navigate(const std::string& url) {
  refresh_hold_.NavigateAsked();
  Navigations.push_back(url);
}

void TScriptedBrowser::Refresh() {
  if (refresh_hold_.MayRefreshNow()) ++Refreshes;
}

std::shared_ptr<const THTMLDocument> TScriptedBrowser::Document() {
  if (FailDocumentRead) throw Exception("The document cannot be read");
  return document_;
}

bool TScriptedBrowser::LoadPage(const std::string& url,
                                std::shared_ptr<const THTMLDocument> document) {
  if (BeforeNavigate2(TopLevel(), url)) return false;
  document_ = std::move(document);
  DownloadComplete();
  DocumentComplete(TopLevel(), url);
  return true;
}

std::shared_ptr<const THTMLDocument> TScriptedBrowser::DocumentOfMarkup(const std::string& markup) {
  std::string body = markup;
  const size_t start = markup.find("<body");
  const size_t end = markup.find("</body>");
  if (start != std::string::npos && end != std::string::npos && end > start)
    body = markup.substr(start, end + 7 - start);
  return THTMLDocument::FromMarkup(markup, body);
}

bool TScriptedBrowser::LoadPage(const std::string& url, const std::string& markup) {
  return LoadPage(url, DocumentOfMarkup(markup));
}

void TScriptedBrowser::LoadInnerFrame(const std::string& url, int frame) {
  const TDispatch* inner = InnerFrame(frame);
  if (BeforeNavigate2(inner, url)) return;
  DownloadComplete();
  DocumentComplete(inner, url);
}

const TDispatch* TScriptedBrowser::InnerFrame(int index) {
  while (static_cast<int>(frames_.size()) <= index)
    frames_.push_back(std::make_unique<TDispatch>());
  return frames_[index].get();
}

bool TScriptedBrowser::BeforeNavigate2(const TDispatch* frame, const std::string& url) {
  const bool cancel = browser_.DoBeforeNavigate2(frame, url);
  if (frame == TopLevel() && !cancel) refresh_hold_.NavigationStarted();
  return cancel;
}

void TScriptedBrowser::DocumentComplete(const TDispatch* frame, const std::string& url) {
  const bool topLevel = frame == TopLevel();
  if (topLevel) refresh_hold_.NavigationCompleted();
  browser_.DoDocumentComplete(frame, url);
  if (topLevel && refresh_hold_.TakeHeldRefresh()) Refresh();
}

void TScriptedBrowser::DownloadComplete() { browser_.DoDownloadComplete(); }

}  // namespace pelmorix
