#include "platform/browser/html_document.h"

namespace pelmorix {

THTMLDocument::THTMLDocument(std::vector<TElementText> body_to_root) {
  for (auto& element : body_to_root)
    elements_.push_back(
        std::make_unique<THTMLElement>(std::move(element.TagName), std::move(element.OuterHTML)));
  for (size_t i = 0; i + 1 < elements_.size(); ++i) elements_[i]->parent_ = elements_[i + 1].get();
}

std::shared_ptr<THTMLDocument> THTMLDocument::FromMarkup(const std::string& root_outer_html,
                                                         const std::string& body_outer_html) {
  return std::make_shared<THTMLDocument>(
      std::vector<TElementText>{{"BODY", body_outer_html}, {"HTML", root_outer_html}});
}

}  // namespace pelmorix
