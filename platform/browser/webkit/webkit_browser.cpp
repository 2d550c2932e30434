#include "platform/browser/webkit/webkit_browser.h"

#include <cstdlib>
#include <cstring>

#include "base/codepage.h"
#include "platform/ui/gtk/gtk_backend.h"

namespace pelmorix {

namespace {

// The page that brings the web process up before the first Navigate.
constexpr char kWarmUpPage[] = "about:blank";

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

}  // namespace

TWebKitBrowser::TWebKitBrowser(TGtkBackend& ui, TWebBrowser& browser) : browser_(browser) {
  WebKitWebContext* context = NewQuietContext();
  WebKitUserContentManager* content = webkit_user_content_manager_new();
  view_ = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context,
                                       "user-content-manager", content, nullptr));
  g_object_unref(content);
  g_object_unref(context);
  g_object_ref_sink(view_);
  QuietSettings(webkit_web_view_get_settings(view_));
  AddFrameReports();
  g_signal_connect(view_, "load-changed", G_CALLBACK(LoadChanged), this);
  g_signal_connect(view_, "decide-policy", G_CALLBACK(DecidePolicy), this);
  ui.AdoptWidget(browser_, GTK_WIDGET(view_));
  browser_.SetBackend(this);
  // The web process starts with the first load; the events pending now hand its launch over,
  // so it goes on while the window thread is busy with other work.
  webkit_web_view_load_uri(view_, kWarmUpPage);
  ui.ProcessMessages();
}

TWebKitBrowser::~TWebKitBrowser() {
  *alive_ = false;
  if (queued_refresh_) g_source_remove(queued_refresh_);
  g_signal_handlers_disconnect_by_data(view_, this);
  g_signal_handlers_disconnect_by_data(webkit_web_view_get_user_content_manager(view_), this);
  if (browser_.Backend() == this) browser_.SetBackend(nullptr);
  g_object_unref(view_);
}

void TWebKitBrowser::Navigate(const std::string& url) {
  // The new page is loaded afresh anyway.
  if (queued_refresh_) g_source_remove(queued_refresh_);
  queued_refresh_ = 0;
  refresh_hold_.NavigateAsked();
  webkit_web_view_load_uri(view_, Cp1252ToUtf8(url).c_str());
}

void TWebKitBrowser::Refresh() {
  if (!refresh_hold_.MayRefreshNow()) return;
  if (!queued_refresh_) queued_refresh_ = g_idle_add(RunQueuedRefresh, this);
}

gboolean TWebKitBrowser::RunQueuedRefresh(gpointer data) {
  auto* self = static_cast<TWebKitBrowser*>(data);
  self->queued_refresh_ = 0;
  webkit_web_view_reload(self->view_);
  return G_SOURCE_REMOVE;
}

gboolean TWebKitBrowser::DecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                      WebKitPolicyDecisionType type, gpointer data) {
  auto* self = static_cast<TWebKitBrowser*>(data);
  if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) return FALSE;
  // A top-level load is decided right before it starts; inner frames are decided only after
  // it has started, so the last decision before a start is the top-level frame's.
  WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
      WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
  if (!self->warm_up_announced_ && uri && std::strcmp(uri, kWarmUpPage) == 0) {
    self->warm_up_announced_ = true;
    self->announced_ = TLoadKind::WarmUp;
  } else if (webkit_navigation_action_get_navigation_type(action) ==
             WEBKIT_NAVIGATION_TYPE_RELOAD) {
    self->announced_ = TLoadKind::Reload;
  } else {
    self->announced_ = TLoadKind::Navigation;
  }
  self->announced_url_ = Utf8ToCp1252(uri ? uri : "");
  return FALSE;  // the default decision: load it
}

void TWebKitBrowser::LoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer data) {
  auto* self = static_cast<TWebKitBrowser*>(data);
  if (event == WEBKIT_LOAD_STARTED) {
    self->LoadStarted();
  } else if (event == WEBKIT_LOAD_FINISHED) {
    self->LoadFinished();
  }
}

void TWebKitBrowser::LoadStarted() {
  ++load_serial_;
  loading_ = true;
  current_ = announced_;
  announced_ = TLoadKind::Navigation;
  if (current_ != TLoadKind::Navigation) return;
  refresh_hold_.NavigationStarted();
  // The view's own address may still be the previous page's at this point.
  const char* uri = webkit_web_view_get_uri(view_);
  const std::string url = announced_url_.empty() ? Utf8ToCp1252(uri ? uri : "") : announced_url_;
  announced_url_.clear();
  if (browser_.DoBeforeNavigate2(browser_.DefaultInterface(), url))
    webkit_web_view_stop_loading(view_);
}

void TWebKitBrowser::LoadFinished() {
  loading_ = false;
  if (current_ == TLoadKind::WarmUp) return;
  browser_.DoDownloadComplete();
  // A reload that overtook a navigation completes that navigation.
  ReadMarkup(refresh_hold_.NavigationOpen() ? browser_.DefaultInterface() : nullptr);
}

}  // namespace pelmorix
