#pragma once

#include <memory>
#include <string>

#include "http/id_http.h"
#include "launcher/launcher_state.h"
#include "launcher/launcher_transport.h"
#include "launcher/patch_list.h"
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
// design; the handlers and routines live in the launcher files of their concern.
class TForm1 : public TForm {
 public:
  TForm1(TApplication& application, TLauncher& launcher);

  // The launcher this window serves: its environment, network unit and module state.
  TLauncher& Launcher;

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
  // Only with PELMORIX_TLS; declared first, so it outlives IdHTTP1.
  std::unique_ptr<TIdSSLIOHandlerSocket> IdSSLIOHandlerSocket1;
  // The window's own HTTP client; it fetches the button pictures.
  TIdHTTP IdHTTP1;

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

  // The start-up behind FormShow and Timer1Timer, and the normal start path (form1_startup.cpp).
  void RunStartup();
  void StartLauncher();

  // The button table over the window (form1_layout.cpp) and the button pictures
  // (form1_images.cpp).
  void ApplyPageDirectives(const std::string& markup);
  void LayoutButtons();
  void LoadButtonImage(int row, TBitBtn& button);
  void DecodeJpegText(const std::string& text);
  void MarkGlyphStrip();
  // The button slot fed by a row (1-5, 7, 9-11), none for the other rows.
  TBitBtn* SlotOfRow(int row) const;

  // The commands of the button slots (form1_commands.cpp).
  void RunCommand(int slot);

  // The patch run under the progress panel (form1_patch.cpp).
  void RunPatch();
  void SetProgress(int value);

  // The start page (form1_browser.cpp).
  void NavigateStartPage();

  // Browser events (form1_browser.cpp).
  void wbBeforeNavigate2(TObject* Sender, const TDispatch* pDisp, const std::string& URL, int Flags,
                         const std::string& TargetFrameName, const std::string& PostData,
                         const std::string& Headers, bool& Cancel);
  void wbDocumentComplete(TObject* Sender, const TDispatch* pDisp, const std::string& URL);
  void wbDownloadComplete(TObject* Sender);

 private:
  void ShowProgressPanel();
  void DownloadPatchFiles(const PatchList& list);
  void InstallPatchFiles(const PatchList& list, const std::string& patchType,
                         SelfPatchHandOver& selfPatch);
  void PutPatchFileInPlace(const PatchFile& file);
  void StartGame(int command);
  void WriteProbeAndPatch();
  bool RunWriteProbe();
  void StartUninstaller(int command);
  void OpenDownloadPage();
  void LayoutSlot(int row, TBitBtn& slot, int fontSize, TColor fontColor);
  void ShowNotices(const ButtonRecord& row);

  TBitBtn* CreateSlot(const std::string& name, int left, int top, int tab_order,
                      void (TForm1::*handler)(TObject*));
  void CreateProgressPanel();
  void ConnectEvents();
};

}  // namespace pelmorix
