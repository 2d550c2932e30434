// Win32 windows. FIXME: the browser control's host is not built yet, so the control's window
// stays empty and no page is shown.
#include "platform/desktop/desktop.h"
#include "platform/ui/win32/win32_backend.h"

namespace pelmorix {

namespace {

class TWin32Desktop : public TDesktop {
 public:
  TUiBackend& Ui() override { return ui_; }
  std::unique_ptr<TBrowserBackend> MakeBrowser(TWebBrowser&) override { return nullptr; }

 private:
  TWin32Backend ui_;
};

}  // namespace

std::unique_ptr<TDesktop> MakeDesktop(int, char**) { return std::make_unique<TWin32Desktop>(); }

}  // namespace pelmorix
