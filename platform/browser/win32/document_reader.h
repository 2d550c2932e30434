#pragma once

#include "platform/ui/win32/win32_api.h"
// After the system's window headers, which it needs.
#include <exdisp.h>

#include <memory>

#include "platform/browser/html_document.h"

namespace pelmorix {

// The browser's document as the launcher reads it: the chain from the body up to the root,
// each element's tag name and outerHTML in the system code page. None when nothing is loaded;
// a document without a body gives no chain. An error result of the document model raises.
std::shared_ptr<const THTMLDocument> ReadDocument(IWebBrowser2& browser);

}  // namespace pelmorix
