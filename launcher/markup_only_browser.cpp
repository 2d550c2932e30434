#include "launcher/markup_only_browser.h"

#include "platform/environment/environment.h"

namespace pelmorix {

namespace {

constexpr int kPageTimeout = 10000;  // milliseconds, to connect and between receives

}  // namespace

TMarkupOnlyBrowser::TMarkupOnlyBrowser(TForm& form, TWebBrowser& browser)
    : TScriptedBrowser(browser), timer_(form.CreateComponent<TTimer>("MarkupOnlyBrowserLoad")) {
  timer_->SetEnabled(false);
  timer_->SetInterval(1);
  timer_->OnTimer = [this](TObject*) { RunPendingLoad(); };
  http_.SetConnectTimeout(kPageTimeout);
  http_.SetReadTimeout(kPageTimeout);
}

TMarkupOnlyBrowser::~TMarkupOnlyBrowser() { timer_->OnTimer = nullptr; }

bool TMarkupOnlyBrowser::Chosen() { return GetEnvironmentText("PELMORIX_BROWSER") == "markup"; }

void TMarkupOnlyBrowser::Navigate(const std::string& url) {
  pending_navigation_ = url;
  pending_refresh_ = false;
  timer_->SetEnabled(true);
}

void TMarkupOnlyBrowser::Refresh() {
  if (pending_navigation_) return;  // the page is loaded afresh anyway
  pending_refresh_ = true;
  timer_->SetEnabled(true);
}

void TMarkupOnlyBrowser::RunPendingLoad() {
  timer_->SetEnabled(false);
  if (pending_navigation_) {
    const std::string url = *pending_navigation_;
    pending_navigation_.reset();
    if (BeforeNavigate2(TopLevel(), url)) return;
    address_ = url;
    SetDocument(Load(url));
    DownloadComplete();
    DocumentComplete(TopLevel(), url);
  } else if (pending_refresh_) {
    pending_refresh_ = false;
    SetDocument(Load(address_));
    DownloadComplete();
  }
}

std::shared_ptr<const THTMLDocument> TMarkupOnlyBrowser::Load(const std::string& url) {
  try {
    return DocumentOfMarkup(http_.Get(url));
  } catch (const std::exception&) {
    return nullptr;  // the launcher keeps its buttons as they are
  }
}

}  // namespace pelmorix
