// Win32 windows with the system's own web browser control.
#include "platform/browser/win32/win32_browser.h"
#include "platform/desktop/desktop.h"
#include "platform/ui/win32/win32_backend.h"

namespace pelmorix {

namespace {

class TWin32Desktop : public TDesktop {
 public:
  TUiBackend& Ui() override { return ui_; }
  std::unique_ptr<TBrowserBackend> MakeBrowser(TWebBrowser& browser) override {
    return std::make_unique<TWin32Browser>(ui_, browser);
  }

 private:
  TWin32Backend ui_;
};

}  // namespace

std::unique_ptr<TDesktop> MakeDesktop(int, char**) { return std::make_unique<TWin32Desktop>(); }

}  // namespace pelmorix
