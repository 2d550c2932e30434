// The window's start-up: the server list, the command-line decision and the normal start path
// with its fallback; and the window's two small buttons.
#include <exception>

#include "base/codepage.h"
#include "base/convert.h"
#include "base/text.h"
#include "launcher/execute_with_report.h"
#include "launcher/form1.h"
#include "launcher/web_address.h"
#include "platform/shell/shell.h"
#include "platform/ui/application.h"
#include "platform/ui/window_range.h"

namespace pelmorix {

void TForm1::FormShow(TObject*) { RunStartup(); }

void TForm1::Timer1Timer(TObject*) { RunStartup(); }

void TForm1::Button1Click(TObject*) {
  Launcher.State.CancelRequested = true;
  Button1->SetEnabled(false);
}

void TForm1::Button2Click(TObject*) {
  Launcher.Environment.Shell.ShellExecuteA(Application().GetDesktopWindow(), "", "Helper1.exe", "",
                                           "", SW_SHOW);
}

void TForm1::RunStartup() {
  Timer1->SetEnabled(false);
  TLauncherState& state = Launcher.State;
  if (!state.StartupPending) return;
  state.StartupPending = false;

  // The server list; without it the start page is built on an empty base.
  try {
    TInstallationSettings& settings = state.Settings;
    std::string url = Launcher.Inet.ConfigServer() + "/starter/server20/servers.txt";
    if (!settings.GetAffiliateId().empty() && settings.GetAffiliateId() != "0") {
      url = Launcher.Inet.ConfigServer() + "/starter/server20" + settings.GetAffiliateId() +
            "/servers.txt";
    }
    // A reply that is no web address counts as no reply: the base goes to the browser and
    // the shell.
    const std::string serverBase = Launcher.Inet.LauncherHttp().Get(url);
    if (IsWebAddress(serverBase)) state.ServerBase = serverBase;
  } catch (const std::exception&) {
  }

  const TLauncherEnvironment& environment = Launcher.Environment;
  const std::string p1 = environment.ParamStr(1);
  const std::string p2 = environment.ParamStr(2);
  const std::string& exePath = environment.ExePath;
  if (p1.empty() && p2.empty() && UpperCase(exePath).find("UPDATE.EXE") != std::string::npos) {
    SetBounds(Left(), Top(), 0, 0);
    Application().ShowMessage(
        Utf8ToCp1252("Starten Sie das Programm über das Startmenü oder Pelmorix.exe, um "
                     "Informationen zu Updates zu erhalten."));
    Close();
  } else if (!p1.empty() || !p2.empty() || exePath.find("Pelmorix.exe") != std::string::npos) {
    StartLauncher();
  } else {
    ExecuteWithReport(environment.Shell, Application().MessageBoxHost(),
                      Application().GetDesktopWindow(), "", "Pelmorix.exe", "", "", SW_SHOW, "");
    Close();
  }
}

void TForm1::StartLauncher() {
  TLauncherState& state = Launcher.State;
  TInstallationSettings& settings = state.Settings;
  TButtonTable& table = state.ButtonTable;
  try {
    settings.InstallationIdText = Launcher.Environment.ParamStr(1);
    for (int row = 0; row < TButtonTable::kRowCount; ++row) {
      SplitIntoRecord(table, Launcher.Inet.FetchButtonRow(row), row);
    }
    // Row 0 holds the client size less 4; summed in 64 bits, since the server may send the
    // largest integer.
    SetClientWidth(ClampWindowSize(int64_t{StrToInt(table[0].Left)} + 4));
    SetClientHeight(ClampWindowSize(int64_t{StrToInt(table[0].Top)} + 4));
    SetCaption(table[0].Caption);
    Application().SetTitle(table[0].Caption);
    // The window is centred as it first appears, after this handler, so with its new size.
    if (wb->Width() < 500 && wb->Height() < 400) {
      wb->SetBounds(wb->Left(), wb->Top(), ClientWidth(), ClientHeight());
    }
    NavigateStartPage();
  } catch (const std::exception&) {
    // Without the server's rows the game starts at once, and the launcher goes.
    SetBounds(Left(), Top(), 1, 1);
    settings.InstallationId = StrToInt(settings.GetIdText());
    table[1].Action = "3";
    RunCommand(1);
    Close();
  }

  if (Launcher.Environment.ParamStr(3) == "/action4") {
    const int32_t n = StrToInt(settings.GetIdText());
    settings.InstallationId = n;
    settings.SelectedInstallation = n;
    if (n > 100) {
      table[4].Action = "4";
      RunCommand(4);
    }
  }
}

}  // namespace pelmorix
