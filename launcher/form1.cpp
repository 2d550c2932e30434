// The design of the main window: its properties and every control with its design values.
#include "launcher/form1.h"

#include "launcher/design_glyphs.h"

namespace pelmorix {

TForm1::TForm1(TApplication& application, TLauncher& launcher)
    : TForm(application, "Form1"), Launcher(launcher) {
  SetCaption("Tarnovia Start");
  SetBounds(575, 295, 0, 0);
  SetClientWidth(316);
  SetClientHeight(214);
  SetPosition(poScreenCenter);
  SetBorderStyle(bsSingle);
  SetBorderIcons(biSystemMenu | biMinimize);
  SetColor(clBtnFace);
  Font().SetName("MS Sans Serif");
  Font().SetHeight(-11);
  Font().SetColor(clWindowText);
  Font().SetStyle(0);

  wb = CreateComponent<TWebBrowser>("wb");
  wb->SetParent(this);
  wb->SetBounds(0, 0, 316, 214);
  wb->SetAlign(alClient);
  wb->SetTabOrder(0);

  Button2 = CreateComponent<TButton>("Button2");
  Button2->SetParent(this);
  Button2->SetBounds(24, 176, 75, 25);
  Button2->SetCaption("Button2");
  Button2->SetVisible(false);
  Button2->SetTabOrder(2);
  Button2->OnClick = [this](TObject* sender) { Button2Click(sender); };

  BitBtn1 = CreateSlot("BitBtn1", 104, 152, 3, &TForm1::BitBtn1Click);
  BitBtn2 = CreateSlot("BitBtn2", 112, 160, 4, &TForm1::BitBtn2Click);
  BitBtn3 = CreateSlot("BitBtn3", 120, 168, 5, &TForm1::BitBtn3Click);
  BitBtn3->SetGlyph(DesignGlyph(kSpielenGlyphPixels));
  BitBtn4 = CreateSlot("BitBtn4", 128, 176, 6, &TForm1::BitBtn4Click);
  BitBtn4->SetGlyph(DesignGlyph(kUpdateInstallierenGlyphPixels));
  BitBtn5 = CreateSlot("BitBtn5", 136, 184, 7, &TForm1::BitBtn5Click);
  BitBtn5->SetGlyph(DesignGlyph(kDeinstallierenGlyphPixels));
  BitBtn7 = CreateSlot("BitBtn7", 144, 189, 8, &TForm1::BitBtn7Click);
  CreateProgressPanel();
  BitBtn9 = CreateSlot("BitBtn9", 152, 189, 9, &TForm1::BitBtn9Click);
  BitBtn11 = CreateSlot("BitBtn11", 160, 189, 10, &TForm1::BitBtn11Click);
  BitBtn10 = CreateSlot("BitBtn10", 168, 189, 11, &TForm1::BitBtn10Click);

  Timer1 = CreateComponent<TTimer>("Timer1");
  Timer1->SetEnabled(false);
  Timer1->SetInterval(50);

  // The window's own HTTP client keeps the component's time-outs.
  IdHTTP1.SetMaxLineAction(maException);
  IdHTTP1.SetAllowCookies(true);
  IdHTTP1.Request().SetContentLength(-1);
  IdHTTP1.Request().Accept = "text/html, */*";
  IdHTTP1.Request().UserAgent = "Mozilla/3.0 (compatible; Pelmorix HTTP)";
  IdHTTP1.Request().BasicAuthentication = false;
  AssignLauncherTransport(IdHTTP1, IdSSLIOHandlerSocket1);

  ConnectEvents();
}

TBitBtn* TForm1::SlotOfRow(int row) const {
  switch (row) {
    case 1:
      return BitBtn1;
    case 2:
      return BitBtn2;
    case 3:
      return BitBtn3;
    case 4:
      return BitBtn4;
    case 5:
      return BitBtn5;
    case 7:
      return BitBtn7;
    case 9:
      return BitBtn9;
    case 10:
      return BitBtn10;
    case 11:
      return BitBtn11;
    default:
      return nullptr;
  }
}

TBitBtn* TForm1::CreateSlot(const std::string& name, int left, int top, int tab_order,
                            void (TForm1::*handler)(TObject*)) {
  auto* slot = CreateComponent<TBitBtn>(name);
  slot->SetParent(this);
  slot->SetBounds(left, top, 75, 25);
  slot->SetCaption("BitBtn1");
  slot->SetVisible(false);
  slot->SetTabOrder(tab_order);
  slot->SetNumGlyphs(3);
  slot->OnClick = [this, handler](TObject* sender) { (this->*handler)(sender); };
  return slot;
}

void TForm1::CreateProgressPanel() {
  Panel1 = CreateComponent<TPanel>("Panel1");
  Panel1->SetParent(this);
  Panel1->SetBounds(24, 24, 273, 137);
  Panel1->SetVisible(false);
  Panel1->SetTabOrder(1);

  Label1 = CreateComponent<TLabel>("Label1");
  Label1->SetParent(Panel1);
  Label1->SetBounds(1, 40, 118, 13);
  Label1->SetCaption("Starten..");
  Label1->SetAlignment(taCenter);
  Label1->SetAutoSize(false);

  Button1 = CreateComponent<TButton>("Button1");
  Button1->SetParent(Panel1);
  Button1->SetBounds(96, 96, 75, 25);
  Button1->SetCaption("&Abbrechen");
  Button1->SetTabOrder(0);
  Button1->SetDefault(true);
  Button1->OnClick = [this](TObject* sender) { Button1Click(sender); };

  ProgressBar1 = CreateComponent<TProgressBar>("ProgressBar1");
  ProgressBar1->SetParent(Panel1);
  ProgressBar1->SetBounds(16, 64, 233, 17);
  ProgressBar1->SetTabOrder(1);
  ProgressBar1->SetRange(0, 100);
}

void TForm1::ConnectEvents() {
  OnShow = [this](TObject* sender) { FormShow(sender); };
  Timer1->OnTimer = [this](TObject* sender) { Timer1Timer(sender); };
  wb->OnBeforeNavigate2 = [this](TObject* sender, const TDispatch* disp, const std::string& url,
                                 int flags, const std::string& target, const std::string& post,
                                 const std::string& headers, bool& cancel) {
    wbBeforeNavigate2(sender, disp, url, flags, target, post, headers, cancel);
  };
  wb->OnDocumentComplete = [this](TObject* sender, const TDispatch* disp, const std::string& url) {
    wbDocumentComplete(sender, disp, url);
  };
  wb->OnDownloadComplete = [this](TObject* sender) { wbDownloadComplete(sender); };
}

}  // namespace pelmorix
