#pragma once

#include <optional>
#include <string>

#include "http/id_http.h"
#include "platform/browser/scripted_browser.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"

namespace pelmorix {

// A browser engine that shows no page: it loads each address with an HTTP client of its own
// and plays the load with the page's markup as the document, so the page's directives reach
// the launcher. It stands in where the desktop's browser control cannot render (wine has no
// browser engine); test rigs choose it with the environment variable PELMORIX_BROWSER set to
// "markup". As the platform's control does, a Navigate or Refresh only asks for the load; it
// runs from the message loop, a Refresh raising DownloadComplete only. A page that cannot be
// loaded completes without a document.
class TMarkupOnlyBrowser : public TScriptedBrowser {
 public:
  // The form owns the timer that runs the loads.
  TMarkupOnlyBrowser(TForm& form, TWebBrowser& browser);
  ~TMarkupOnlyBrowser() override;

  void Navigate(const std::string& url) override;
  void Refresh() override;

  // Whether the environment asks for this engine.
  static bool Chosen();

 private:
  void RunPendingLoad();
  std::shared_ptr<const THTMLDocument> Load(const std::string& url);

  TTimer* timer_;
  TIdHTTP http_;
  std::string address_;
  std::optional<std::string> pending_navigation_;
  bool pending_refresh_ = false;
};

}  // namespace pelmorix
