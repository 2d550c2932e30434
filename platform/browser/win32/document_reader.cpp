#include "platform/browser/win32/document_reader.h"

#include <mshtml.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/exception.h"
#include "platform/browser/win32/com_ref.h"
#include "platform/browser/win32/ole_text.h"

namespace pelmorix {

namespace {

void Check(HRESULT result, const char* what) {
  if (SUCCEEDED(result)) return;
  char code[16];
  std::snprintf(code, sizeof code, "%08lX", static_cast<unsigned long>(result));
  throw Exception(std::string("The browser's document cannot give ") + what + " (error 0x" + code +
                  ")");
}

THTMLDocument::TElementText ReadElement(IHTMLElement& element) {
  TBstr tag_name, outer_html;
  Check(element.get_tagName(tag_name.Put()), "an element's tag name");
  Check(element.get_outerHTML(outer_html.Put()), "an element's outerHTML");
  return {tag_name.Ansi(), outer_html.Ansi()};
}

}  // namespace

std::shared_ptr<const THTMLDocument> ReadDocument(IWebBrowser2& browser) {
  TComRef<IDispatch> document;
  Check(browser.get_Document(document.Put()), "itself");
  if (!document) return nullptr;
  auto html = document.As<IHTMLDocument2>(IID_IHTMLDocument2);
  // Whatever is loaded is no HTML document (a plug-in's, say): it has no body.
  if (!html) return std::make_shared<THTMLDocument>();
  TComRef<IHTMLElement> element;
  Check(html->get_body(element.Put()), "its body");
  std::vector<THTMLDocument::TElementText> body_to_root;
  while (element) {
    body_to_root.push_back(ReadElement(*element.Get()));
    TComRef<IHTMLElement> parent;
    Check(element->get_parentElement(parent.Put()), "an element's parent");
    element = std::move(parent);
  }
  return std::make_shared<THTMLDocument>(std::move(body_to_root));
}

}  // namespace pelmorix
