// GTK windows with the WebKitGTK browser.
#include "platform/browser/webkit/webkit_browser.h"
#include "platform/desktop/desktop.h"
#include "platform/ui/gtk/gtk_backend.h"

namespace pelmorix {

namespace {

class TGtkDesktop : public TDesktop {
 public:
  TGtkDesktop(int argc, char** argv) : ui_(argc, argv) {}

  TUiBackend& Ui() override { return ui_; }
  std::unique_ptr<TBrowserBackend> MakeBrowser(TWebBrowser& browser) override {
    return std::make_unique<TWebKitBrowser>(ui_, browser);
  }

 private:
  TGtkBackend ui_;
};

}  // namespace

std::unique_ptr<TDesktop> MakeDesktop(int argc, char** argv) {
  return std::make_unique<TGtkDesktop>(argc, argv);
}

}  // namespace pelmorix
