// The start page and the browser's events: the painting freeze around a top-level load and the
// page directives of every completed document.
#include <exception>

#include "base/convert.h"
#include "launcher/form1.h"
#include "platform/ui/application.h"

namespace pelmorix {

void TForm1::NavigateStartPage() {
  TLauncherState& state = Launcher.State;
  TInstallationSettings& settings = state.Settings;
  // Every piece goes in unencoded, in this order: the version list selects installations
  // before the launcher version and the affiliate id select the one of the id text.
  std::string address = state.ServerBase + "index.php?action=getpage&param2=2";
  address += settings.BuildVersionList();
  const TScreenSize screen = Application().Screen();
  address += "&screenwidth=" + IntToStr(screen.Width);
  address += "&screenheight=" + IntToStr(screen.Height);
  address += "&id=" + settings.GetIdText();
  address += "&launcherv=" + settings.GetLauncherVersion();
  address += "&affid=" + settings.GetAffiliateId();
  wb->Navigate(address);
}

void TForm1::wbBeforeNavigate2(TObject*, const TDispatch* pDisp, const std::string&, int,
                               const std::string&, const std::string&, const std::string&, bool&) {
  if (pDisp == wb->DefaultInterface()) Application().LockWindowUpdate(Handle());
}

void TForm1::wbDocumentComplete(TObject*, const TDispatch* pDisp, const std::string&) {
  std::shared_ptr<const THTMLDocument> document;
  try {
    document = wb->Document();
  } catch (const std::exception&) {
    return;  // painting stays frozen until a later top-level document completes
  }
  if (!document) return;
  // A document without a body (an image, say) has no markup to read; the handler ends here
  // as it would on a failure, and the freeze stays.
  const THTMLElement* element = document->body();
  if (element == nullptr) return;
  while (element->parentElement() != nullptr) element = element->parentElement();
  ApplyPageDirectives(element->outerHTML());
  if (pDisp == wb->DefaultInterface()) Application().LockWindowUpdate(0);
}

void TForm1::wbDownloadComplete(TObject*) { Launcher.State.SecondNoticeShown = false; }

}  // namespace pelmorix
