// Completed documents of inner frames: a user script in every frame posts the frame's place
// among its parent's frames when its load event fires.
#include <string>

#include "base/codepage.h"
#include "platform/browser/webkit/webkit_browser.h"

namespace pelmorix {

namespace {

constexpr char kFrameHandler[] = "pelmorixFrameLoaded";

// The frame's path, its index in each parent's frames from the top down ("0", "1.0"), a blank
// and its address. Comparing window objects works across origins too.
constexpr char kReportFrameScript[] =
    "(function () {"
    "  if (window === window.top) return;"
    "  addEventListener('load', function () {"
    "    var path = [];"
    "    for (var w = window; w !== w.top; w = w.parent) {"
    "      var frames = w.parent.frames;"
    "      for (var i = 0; i < frames.length; ++i) if (frames[i] === w) { path.unshift(i); break; }"
    "    }"
    "    window.webkit.messageHandlers.pelmorixFrameLoaded.postMessage(path.join('.') + ' ' + "
    "location.href);"
    "  });"
    "})();";

}  // namespace

void TWebKitBrowser::AddFrameReports() {
  WebKitUserContentManager* content = webkit_web_view_get_user_content_manager(view_);
  g_signal_connect(content, (std::string("script-message-received::") + kFrameHandler).c_str(),
                   G_CALLBACK(FrameLoaded), this);
  webkit_user_content_manager_register_script_message_handler(content, kFrameHandler);
  WebKitUserScript* script =
      webkit_user_script_new(kReportFrameScript, WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                             WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
  webkit_user_content_manager_add_script(content, script);
  webkit_user_script_unref(script);
}

void TWebKitBrowser::FrameLoaded(WebKitUserContentManager*, WebKitJavascriptResult* result,
                                 gpointer data) {
  auto* self = static_cast<TWebKitBrowser*>(data);
  // The frames a Refresh reloads complete as quietly as the Refresh itself.
  if (self->loading_ && self->current_ != TLoadKind::Navigation) return;
  char* text = jsc_value_to_string(webkit_javascript_result_get_js_value(result));
  const std::string report = text ? text : "";
  g_free(text);
  const size_t blank = report.find(' ');
  if (blank == std::string::npos) return;
  // The handler reads the Document, which is the top-level one.
  self->ReadMarkup(self->InnerFrame(report.substr(0, blank)),
                   Utf8ToCp1252(report.substr(blank + 1)));
}

const TDispatch* TWebKitBrowser::InnerFrame(const std::string& path) {
  std::unique_ptr<TDispatch>& frame = inner_frames_[path];
  if (!frame) frame = std::make_unique<TDispatch>();
  return frame.get();
}

}  // namespace pelmorix
