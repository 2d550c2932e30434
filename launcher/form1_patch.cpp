// The patch run: the patch message question, the patch address and type, the list, the
// downloads into "temp" and the installation under the progress panel, the version write, and
// the hand-over of a new launcher executable to Helper1.exe.
#include <chrono>
#include <cmath>
#include <exception>
#include <thread>

#include "base/codepage.h"
#include "base/convert.h"
#include "base/exception.h"
#include "base/retry.h"
#include "base/stream.h"
#include "launcher/download_progress.h"
#include "launcher/execute_with_report.h"
#include "launcher/form1.h"
#include "launcher/patch_file_placement.h"
#include "launcher/patch_list.h"
#include "launcher/patch_run_signature.h"
#include "launcher/web_address.h"
#include "platform/files/files.h"
#include "platform/ui/application.h"

namespace pelmorix {
namespace {

// The bar moves from 10 to 80 over the downloads and from 80 to 100 over the installation;
// the halves round to even, as the progress table expects.
int StepProgress(int base, int span, size_t index, size_t count) {
  return base + static_cast<int>(std::nearbyint(span * static_cast<double>(index) /
                                                (static_cast<double>(count) + 0.01)));
}

std::string FileStepText(const PatchList& list, const char* phase, const std::string& target,
                         const char* verb, size_t index) {
  return list.Name + " " + list.Version + " " + phase + ": " + target + " " + verb + " (Datei " +
         IntToStr(static_cast<int64_t>(index + 1)) + " von " +
         IntToStr(static_cast<int64_t>(list.Files.size())) + ")..";
}

}  // namespace

void TForm1::SetProgress(int value) {
  ProgressBar1->SetPosition(value);
  ProgressBar1->Repaint();
  Panel1->Repaint();
}

void TForm1::RunPatch() {
  TLauncherState& state = Launcher.State;
  TInstallationSettings& settings = state.Settings;
  TIdHTTP& http = Launcher.Inet.LauncherHttp();
  const std::string id = IntToStr(settings.InstallationId);
  const std::string request = state.ServerBase + "index.php?id=" + id;
  settings.SelectedInstallation = settings.InstallationId;
  bool success = false;
  SelfPatchHandOver selfPatch;
  state.CancelRequested = false;
  Button1->SetEnabled(true);

  const std::string message = DecodeEscapes(http.Get(request + "&action=getpatchmsg"));
  const size_t bar = message.find('|');
  if (bar != std::string::npos &&
      Application().MessageBox(message.substr(bar + 1), message.substr(0, bar), MB_YESNO) !=
          IDYES) {
    return;
  }

  const std::string retry = Utf8ToCp1252(". Führen Sie das Update erneut aus.");
  PatchList list;
  TPatchRunSignature signature(state.PatchSignature);
  try {
    const std::string patchUrl = http.Get(request + "&action=getpatchurl");
    const std::string patchType = http.Get(request + "&action=getpatchtype");
    if (patchType == "3") {
      if (!IsWebAddress(patchUrl)) {
        throw ENotAWebAddress(Utf8ToCp1252("Die Update-Adresse ist keine Webadresse"));
      }
      ExecuteWithReport(Launcher.Environment.Shell, Application().MessageBoxHost(),
                        Application().GetDesktopWindow(), "open", patchUrl, "", "", SW_SHOW,
                        "GetPatchUrl");
      return;
    }
    const std::string listText = http.Get(patchUrl);
    signature.CheckList(http, id, patchType, patchUrl, listText);
    list = ParsePatchList(listText);
    ShowProgressPanel();
    DownloadPatchFiles(list);
    signature.CheckDownloads(list);
    InstallPatchFiles(list, patchType, selfPatch);
    success = true;
  } catch (const std::exception& error) {
    Application().ShowMessage("Fehler: " + std::string(error.what()) + retry);
  }
  Panel1->Hide();
  if (!success) return;

  try {
    settings.WriteSetting("version", list.Version);
    settings.InstallationIdText = "/" + id;
    NavigateStartPage();
  } catch (const std::exception& error) {
    Application().ShowMessage("Fehler: " + std::string(error.what()) + retry);
  }
  if (selfPatch.Pending) {
    // The running launcher cannot replace its own executable; Helper1.exe does, once this
    // process has ended.
    ExecuteWithReport(Launcher.Environment.Shell, Application().MessageBoxHost(),
                      Application().GetDesktopWindow(), "", "Helper1.exe",
                      "/" + selfPatch.Source + " /" + selfPatch.Target + " /" + id, "", SW_SHOW,
                      "SelfPatch");
    Close();
  } else {
    Application().ShowMessage(list.Name + " " + list.Version + " wurde erfolgreich installiert.");
  }
}

void TForm1::ShowProgressPanel() {
  const int width = ClientWidth();
  const int height = ClientHeight();
  Panel1->SetBounds(0, 0, width, height);
  ProgressBar1->SetBounds(10, height / 2 - 20, width - 40, ProgressBar1->Height());
  Button1->SetLeft(width / 2 - 40);
  Button1->SetTop(ProgressBar1->Top() + 40);
  Label1->SetBounds(0, ProgressBar1->Top() - 40, Panel1->Width(), Label1->Height());
  Panel1->Show();
  SetProgress(5);
}

void TForm1::DownloadPatchFiles(const PatchList& list) {
  for (size_t i = 0; i < list.Files.size(); ++i) {
    const PatchFile& file = list.Files[i];
    Application().ProcessMessages();
    CreateDir("temp");
    TFileStream download(file.DownloadPath, fmCreate);
    Label1->SetCaption(FileStepText(list, "Download", file.TargetPath, "herunterladen", i));
    Label1->Repaint();
    const int from = StepProgress(10, 70, i, list.Files.size());
    SetProgress(from);
    Application().ProcessMessages();
    {
      // The bar moves with the bytes up to the next file's value (the installation's 80 after
      // the last); meanwhile only painting and Button1 run, and a cancel ends the request.
      const int to =
          i + 1 < list.Files.size() ? StepProgress(10, 70, i + 1, list.Files.size()) : 80;
      TDownloadProgress progress(
          Launcher.Inet.LauncherHttp(), from, to, [this](int value) { SetProgress(value); },
          [this] {
            Application().ProcessMessages(TMessageFilter{{Button1}});
            if (Launcher.State.CancelRequested) throw Exception("Update abgebrochen");
          });
      Launcher.Inet.LauncherHttp().Get(file.Url, download);
    }
    Application().ProcessMessages();
    // The file is closed as the stream goes, also when the download failed.
    if (Launcher.State.CancelRequested) throw Exception("Update abgebrochen");
  }
}

void TForm1::InstallPatchFiles(const PatchList& list, const std::string& patchType,
                               SelfPatchHandOver& selfPatch) {
  for (size_t i = 0; i < list.Files.size(); ++i) {
    const PatchFile& file = list.Files[i];
    Application().ProcessMessages();
    Label1->SetCaption(FileStepText(list, "Installation", file.TargetPath, "installieren", i));
    Label1->Repaint();
    SetProgress(StepProgress(80, 20, i, list.Files.size()));
    if (patchType == "2") {
      if (ExecuteWithReport(Launcher.Environment.Shell, Application().MessageBoxHost(),
                            Application().GetDesktopWindow(), "", file.DownloadPath, "", "",
                            SW_SHOW, "ExecuteEXE") > 32) {
        Close();
      }
    } else if (file.TargetPath.find("Pelmorix.exe") != std::string::npos ||
               file.TargetPath.find("pelmorix.exe") != std::string::npos) {
      selfPatch = {true, file.DownloadPath, file.TargetPath};
    } else {
      PutPatchFileInPlace(file);
    }
    if (Launcher.State.CancelRequested) throw Exception("Update abgebrochen");
  }
}

// A held target is tried again while the window goes on painting; one that stays held ends the
// run before the version is written, as the patch is not whole.
void TForm1::PutPatchFileInPlace(const PatchFile& file) {
  const bool placed = RetryWithin(
      kHeldFileRetryLimit,
      [&] {
        return PlacePatchFile(file.DownloadPath, file.TargetPath, Launcher.Environment.ExePath) !=
               TPlacement::Held;
      },
      [this] {
        Application().ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      });
  if (!placed) throw Exception("Datei " + file.TargetPath + " kann nicht ersetzt werden");
}

}  // namespace pelmorix
