#include "platform/browser/webkit/webkit_browser.h"

#include <cstdlib>
#include <vector>

#include "base/codepage.h"
#include "platform/ui/gtk/gtk_backend.h"

namespace pelmorix {

namespace {

// The body and its ancestors up to the root, each as [tagName, outerHTML]; null without a body.
constexpr char kReadMarkupScript[] =
    "(function () {"
    "  var chain = [];"
    "  for (var e = document.body; e; e = e.parentElement) chain.push([e.tagName, e.outerHTML]);"
    "  return document.body ? chain : null;"
    "})()";

WebKitWebContext* NewQuietContext() {
  WebKitWebContext* context = webkit_web_context_new_ephemeral();
  webkit_web_context_set_cache_model(context, WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
  webkit_web_context_set_spell_checking_enabled(context, FALSE);
  WebKitWebsiteDataManager* data = webkit_web_context_get_website_data_manager(context);
  if (std::getenv("PELMORIX_BROWSER_LOOPBACK_ONLY")) {
    const char* const loopback[] = {"localhost", "127.0.0.0/8", "::1", nullptr};
    WebKitNetworkProxySettings* proxy =
        webkit_network_proxy_settings_new("http://127.0.0.1:9", loopback);
    webkit_website_data_manager_set_network_proxy_settings(data, WEBKIT_NETWORK_PROXY_MODE_CUSTOM,
                                                           proxy);
    webkit_network_proxy_settings_free(proxy);
  } else {
    webkit_website_data_manager_set_network_proxy_settings(data, WEBKIT_NETWORK_PROXY_MODE_NO_PROXY,
                                                           nullptr);
  }
  return context;
}

void QuietSettings(WebKitSettings* settings) {
  webkit_settings_set_hardware_acceleration_policy(settings,
                                                   WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
  webkit_settings_set_enable_webgl(settings, FALSE);
  webkit_settings_set_enable_media(settings, FALSE);
  webkit_settings_set_enable_page_cache(settings, FALSE);
  webkit_settings_set_enable_developer_extras(settings, FALSE);
  webkit_settings_set_enable_write_console_messages_to_stdout(settings, FALSE);
}

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

TWebKitBrowser::TWebKitBrowser(TGtkBackend& ui, TWebBrowser& browser) : browser_(browser) {
  WebKitWebContext* context = NewQuietContext();
  view_ = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context, nullptr));
  g_object_unref(context);
  g_object_ref_sink(view_);
  QuietSettings(webkit_web_view_get_settings(view_));
  g_signal_connect(view_, "load-changed", G_CALLBACK(LoadChanged), this);
  ui.AdoptWidget(browser_, GTK_WIDGET(view_));
  browser_.SetBackend(this);
}

TWebKitBrowser::~TWebKitBrowser() {
  *alive_ = false;
  g_signal_handlers_disconnect_by_data(view_, this);
  if (browser_.Backend() == this) browser_.SetBackend(nullptr);
  g_object_unref(view_);
}

void TWebKitBrowser::Navigate(const std::string& url) {
  webkit_web_view_load_uri(view_, Cp1252ToUtf8(url).c_str());
}

void TWebKitBrowser::Refresh() { webkit_web_view_reload(view_); }

void TWebKitBrowser::LoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer data) {
  auto* self = static_cast<TWebKitBrowser*>(data);
  const char* uri = webkit_web_view_get_uri(view);
  const std::string url = Utf8ToCp1252(uri ? uri : "");
  if (event == WEBKIT_LOAD_STARTED) {
    ++self->load_serial_;
    if (self->browser_.DoBeforeNavigate2(self->browser_.DefaultInterface(), url))
      webkit_web_view_stop_loading(view);
  } else if (event == WEBKIT_LOAD_FINISHED) {
    self->browser_.DoDownloadComplete();
    self->ReadMarkup();
  }
}

void TWebKitBrowser::ReadMarkup() {
  auto* pending = new TPendingRead{alive_, this, load_serial_};
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
    const char* uri = webkit_web_view_get_uri(self.view_);
    self.browser_.DoDocumentComplete(self.browser_.DefaultInterface(),
                                     Utf8ToCp1252(uri ? uri : ""));
  }
  if (value) g_object_unref(value);
}

}  // namespace pelmorix
