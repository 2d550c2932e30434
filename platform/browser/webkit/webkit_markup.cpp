// The Document read back from the page with JavaScript, and the DocumentComplete it completes.
#include <vector>

#include "base/codepage.h"
#include "platform/browser/webkit/webkit_browser.h"

namespace pelmorix {

namespace {

// The body and its ancestors up to the root, each as [tagName, outerHTML]; null without a body.
constexpr char kReadMarkupScript[] =
    "(function () {"
    "  var chain = [];"
    "  for (var e = document.body; e; e = e.parentElement) chain.push([e.tagName, e.outerHTML]);"
    "  return document.body ? chain : null;"
    "})()";

std::string ToText(JSCValue* value) {
  char* utf8 = jsc_value_to_string(value);
  std::string text = Utf8ToCp1252(utf8 ? utf8 : "");
  g_free(utf8);
  return text;
}

}  // namespace

struct TWebKitBrowser::TPendingRead {
  std::weak_ptr<bool> alive;
  TWebKitBrowser* self;
  uint64_t serial;
  const TDispatch* frame;
  std::string url;
};

std::shared_ptr<const THTMLDocument> DocumentFromScriptResult(JSCValue* value) {
  if (!value || !jsc_value_is_array(value)) return std::make_shared<THTMLDocument>();
  JSCValue* length_value = jsc_value_object_get_property(value, "length");
  const int length = jsc_value_to_int32(length_value);
  g_object_unref(length_value);
  std::vector<THTMLDocument::TElementText> chain;
  for (int i = 0; i < length; ++i) {
    JSCValue* pair = jsc_value_object_get_property_at_index(value, i);
    JSCValue* tag = jsc_value_object_get_property_at_index(pair, 0);
    JSCValue* html = jsc_value_object_get_property_at_index(pair, 1);
    chain.push_back({ToText(tag), ToText(html)});
    g_object_unref(html);
    g_object_unref(tag);
    g_object_unref(pair);
  }
  return std::make_shared<THTMLDocument>(std::move(chain));
}

void TWebKitBrowser::ReadMarkup(const TDispatch* frame, const std::string& url) {
  auto* pending = new TPendingRead{alive_, this, load_serial_, frame, url};
  webkit_web_view_evaluate_javascript(view_, kReadMarkupScript, -1, nullptr, nullptr, nullptr,
                                      MarkupRead, pending);
}

void TWebKitBrowser::MarkupRead(GObject* view, GAsyncResult* result, gpointer data) {
  std::unique_ptr<TPendingRead> pending(static_cast<TPendingRead*>(data));
  GError* error = nullptr;
  JSCValue* value =
      webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view), result, &error);
  if (error) g_error_free(error);
  const bool current = !pending->alive.expired() && *pending->alive.lock() &&
                       pending->serial == pending->self->load_serial_;
  if (current) {
    TWebKitBrowser& self = *pending->self;
    // A document whose markup cannot be read counts as no document at all.
    self.document_ = value ? DocumentFromScriptResult(value) : nullptr;
    if (pending->frame) {
      const bool top_level = pending->frame == self.browser_.DefaultInterface();
      if (top_level) self.refresh_hold_.NavigationCompleted();
      std::string url = pending->url;
      if (url.empty()) {
        const char* uri = webkit_web_view_get_uri(self.view_);
        url = Utf8ToCp1252(uri ? uri : "");
      }
      self.browser_.DoDocumentComplete(pending->frame, url);
      // The handler may have ended the browser.
      const std::shared_ptr<bool> alive = pending->alive.lock();
      if (top_level && alive && *alive && self.refresh_hold_.TakeHeldRefresh()) self.Refresh();
    }
  }
  if (value) g_object_unref(value);
}

}  // namespace pelmorix
