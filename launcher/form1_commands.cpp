// The commands of the button slots: minimise, close, start a game or its uninstaller, check
// the write access and patch, open the download page.
#include <exception>

#include "base/codepage.h"
#include "base/convert.h"
#include "base/stream.h"
#include "launcher/execute_with_report.h"
#include "launcher/form1.h"
#include "launcher/web_address.h"
#include "platform/files/files.h"
#include "platform/ui/application.h"

namespace pelmorix {

void TForm1::BitBtn1Click(TObject*) { RunCommand(1); }
void TForm1::BitBtn2Click(TObject*) { RunCommand(2); }
void TForm1::BitBtn3Click(TObject*) { RunCommand(3); }
void TForm1::BitBtn4Click(TObject*) { RunCommand(4); }
void TForm1::BitBtn5Click(TObject*) { RunCommand(5); }
void TForm1::BitBtn7Click(TObject*) { RunCommand(7); }
void TForm1::BitBtn9Click(TObject*) { RunCommand(9); }
void TForm1::BitBtn10Click(TObject*) { RunCommand(10); }
void TForm1::BitBtn11Click(TObject*) { RunCommand(11); }

void TForm1::RunCommand(int slot) {
  const int32_t command = StrToInt(Launcher.State.ButtonTable[slot].Action);
  switch (command) {
    case 1:
      Application().Minimize();
      break;
    case 2:
      Close();
      break;
    case 3:
    case 6:
    case 13:
      StartGame(command);
      break;
    case 4:
      WriteProbeAndPatch();
      break;
    case 5:
    case 15:
      StartUninstaller(command);
      break;
    case 22:
      OpenDownloadPage();
      break;
    default:
      break;
  }
}

void TForm1::StartGame(int command) {
  TInstallationSettings& settings = Launcher.State.Settings;
  settings.SelectedInstallation = settings.InstallationId + (command == 13 ? 100 : 0);
  std::string parameters;
  std::string path = settings.ReadSetting("folder") + "\\" + settings.ReadSetting("exe");
  if (command == 6) {
    // The game's variant beside it: its last four characters (".exe") become "_.exe".
    path = path.substr(0, path.size() >= 4 ? path.size() - 4 : 0) + "_.exe";
    parameters = "/3";
    if (!FileExists(path)) {
      path = settings.ReadSetting("folder") + "\\" + settings.ReadSetting("exe");
      parameters = "/n";
    }
  }
  ExecuteWithReport(Launcher.Environment.Shell, Application().MessageBoxHost(), Handle(), "",
                    "\"" + path + "\"", parameters, settings.ReadSetting("folder"), SW_SHOW,
                    "StartGame");
  Close();
}

void TForm1::WriteProbeAndPatch() {
  TInstallationSettings& settings = Launcher.State.Settings;
  settings.SelectedInstallation = settings.InstallationId;
  if (RunWriteProbe()) {
    RunPatch();
    return;
  }
  if (Launcher.Environment.ExePath.find("Update") == std::string::npos) {
    // Update.exe is this program under another name: it repeats the probe and, when it may
    // write, runs the patch.
    ExecuteWithReport(Launcher.Environment.Shell, Application().MessageBoxHost(),
                      Application().GetDesktopWindow(), "", "\"Update.exe\"",
                      "/" + IntToStr(settings.InstallationId) + " /0 /action4",
                      settings.ReadSetting("folder"), SW_SHOW, "Restart");
    Close();
  } else {
    Application().ShowMessage(
        Utf8ToCp1252("Vorgang abgebrochen: Es sind nicht genügend Rechte vorhanden. Führen Sie "
                     "die Anwendung als Administrator aus."));
  }
}

bool TForm1::RunWriteProbe() {
  try {
    CreateDir("temp");
    TFileStream probe("temp\\test.exe", fmCreate);
    Launcher.Inet.LauncherHttp().Get(Launcher.State.ServerBase + "index.php", probe);
    // The patch is whole only once its version is recorded in the installation's key.
    return Launcher.State.Settings.MayWriteSettings();
  } catch (const std::exception&) {
    // Whatever failed, the launcher may not patch from here.
    return false;
  }
}

void TForm1::StartUninstaller(int command) {
  TInstallationSettings& settings = Launcher.State.Settings;
  settings.SelectedInstallation = settings.InstallationId + (command == 15 ? 100 : 0);
  ExecuteWithReport(Launcher.Environment.Shell, Application().MessageBoxHost(), Handle(), "",
                    "\"" + settings.ReadSetting("uninstallexe") + "\"", "", "", SW_SHOW,
                    "Uninstall");
  Close();
}

void TForm1::OpenDownloadPage() {
  TLauncherState& state = Launcher.State;
  const std::string parameters = "\"" + state.ServerBase + "index.php?action=getdllink&param1=" +
                                 state.Settings.GetAffiliateId() +
                                 "&param2=" + IntToStr(state.Settings.InstallationId) + "\"";
  // The explorer opens whatever it is given; without a web address there is nothing to open.
  if (!IsWebAddress(state.ServerBase)) return;
  Launcher.Environment.Shell.ShellExecuteA(Handle(), "open", "explorer", parameters.c_str(), "",
                                           SW_HIDE);
}

}  // namespace pelmorix
