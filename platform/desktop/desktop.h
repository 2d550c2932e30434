#pragma once

#include <memory>

#include "platform/browser/web_browser.h"
#include "platform/ui/ui_backend.h"

namespace pelmorix {

// The desktop a program runs on: this system's window toolkit and its browser engine, so that
// the program entry names neither.
class TDesktop {
 public:
  virtual ~TDesktop() = default;

  virtual TUiBackend& Ui() = 0;
  // The browser control's engine, attached to the control. Make it once the control's form
  // exists and before the form is first shown, and end it before the control goes.
  virtual std::unique_ptr<TBrowserBackend> MakeBrowser(TWebBrowser& browser) = 0;
};

// The desktop of this system; the command line is the toolkit's to read its own options from.
std::unique_ptr<TDesktop> MakeDesktop(int argc, char** argv);

}  // namespace pelmorix
