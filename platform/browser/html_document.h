#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace pelmorix {

// An element of a loaded document, as far as the launcher reads it: its tag, its markup and
// its parent. Texts are Windows-1252.
class THTMLElement {
 public:
  THTMLElement(std::string tag_name, std::string outer_html)
      : tag_name_(std::move(tag_name)), outer_html_(std::move(outer_html)) {}

  const std::string& tagName() const { return tag_name_; }
  const std::string& outerHTML() const { return outer_html_; }
  // None at the root element.
  const THTMLElement* parentElement() const { return parent_; }

 private:
  friend class THTMLDocument;
  std::string tag_name_;
  std::string outer_html_;
  const THTMLElement* parent_ = nullptr;
};

// A loaded document: the chain of elements from its body up to its root. A document without a
// body (an image, an XML or SVG document) has no chain.
class THTMLDocument {
 public:
  struct TElementText {
    std::string TagName;
    std::string OuterHTML;
  };

  THTMLDocument() = default;
  // body_to_root[0] is the body, the last one the root element.
  explicit THTMLDocument(std::vector<TElementText> body_to_root);
  THTMLDocument(const THTMLDocument&) = delete;
  THTMLDocument& operator=(const THTMLDocument&) = delete;

  // Whose markup is body, head and all: html, and the body element inside it.
  static std::shared_ptr<THTMLDocument> FromMarkup(const std::string& root_outer_html,
                                                   const std::string& body_outer_html);

  // The body element, or none.
  const THTMLElement* body() const { return elements_.empty() ? nullptr : elements_[0].get(); }

 private:
  std::vector<std::unique_ptr<THTMLElement>> elements_;
};

}  // namespace pelmorix
