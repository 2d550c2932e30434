// The browser's events: the painting freeze around a top-level load and the page directives of
// every completed document.
#include "launcher/form1.h"

namespace pelmorix {

// FIXME: takes the window-update lock for a top-level navigation; not built yet.
void TForm1::wbBeforeNavigate2(TObject*, const TDispatch*, const std::string&, int,
                               const std::string&, const std::string&, const std::string&, bool&) {}

// FIXME: reads the markup, applies the page directives and releases the lock; not built yet.
void TForm1::wbDocumentComplete(TObject*, const TDispatch*, const std::string&) {}

// FIXME: clears SecondNoticeShown once the button table exists.
void TForm1::wbDownloadComplete(TObject*) {}

}  // namespace pelmorix
