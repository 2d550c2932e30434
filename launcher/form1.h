#pragma once

#include <string>

#include "platform/browser/web_browser.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/label.h"
#include "platform/ui/panel.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/timer.h"

namespace pelmorix {

// The launcher's main window: the browser over the whole client area, the nine button slots,
// the progress panel of the patch run, and the start-up timer. The constructor builds the
// design; the handlers live in the launcher files of their concern.
class TForm1 : public TForm {
 public:
  explicit TForm1(TApplication& application);

  TWebBrowser* wb;
  TButton* Button2;
  TBitBtn* BitBtn1;
  TBitBtn* BitBtn2;
  TBitBtn* BitBtn3;
  TBitBtn* BitBtn4;
  TBitBtn* BitBtn5;
  TBitBtn* BitBtn7;
  TPanel* Panel1;
  TLabel* Label1;
  TButton* Button1;
  TProgressBar* ProgressBar1;
  TBitBtn* BitBtn9;
  TBitBtn* BitBtn11;
  TBitBtn* BitBtn10;
  TTimer* Timer1;
  // FIXME: IdHTTP1, the window's own HTTP client, joins once the HTTP client exists.

  // Start-up (form1_startup.cpp).
  void FormShow(TObject* Sender);
  void Timer1Timer(TObject* Sender);
  void Button1Click(TObject* Sender);
  void Button2Click(TObject* Sender);

  // Button slots (form1_commands.cpp).
  void BitBtn1Click(TObject* Sender);
  void BitBtn2Click(TObject* Sender);
  void BitBtn3Click(TObject* Sender);
  void BitBtn4Click(TObject* Sender);
  void BitBtn5Click(TObject* Sender);
  void BitBtn7Click(TObject* Sender);
  void BitBtn9Click(TObject* Sender);
  void BitBtn10Click(TObject* Sender);
  void BitBtn11Click(TObject* Sender);

  // Browser events (form1_browser.cpp).
  void wbBeforeNavigate2(TObject* Sender, const TDispatch* pDisp, const std::string& URL, int Flags,
                         const std::string& TargetFrameName, const std::string& PostData,
                         const std::string& Headers, bool& Cancel);
  void wbDocumentComplete(TObject* Sender, const TDispatch* pDisp, const std::string& URL);
  void wbDownloadComplete(TObject* Sender);

 private:
  TBitBtn* CreateSlot(const std::string& name, int left, int top, int tab_order,
                      void (TForm1::*handler)(TObject*));
  void CreateProgressPanel();
  void ConnectEvents();
};

}  // namespace pelmorix
