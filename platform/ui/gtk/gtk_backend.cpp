// The desktop services of the GTK backend: start-up, the message loop, the screen, the
// desktop window, the title and the painting freeze.
#include "platform/ui/gtk/gtk_backend.h"

#include <gdk/gdkx.h>

#include "base/codepage.h"
#include "base/exception.h"
#include "platform/ui/form.h"

namespace pelmorix {

namespace {

// Windows controls come in the sizes the form gives them; the theme's padding and minimum
// sizes would make small buttons and bars larger than designed.
constexpr char kControlStyle[] =
    ".pelmorix-control { min-height: 0; min-width: 0; padding: 0; }\n"
    "progressbar.pelmorix-control trough, progressbar.pelmorix-control progress"
    " { min-height: 0; min-width: 0; }\n";

// Pending events are run until none is left, but never endlessly: a source that is always
// ready must not hang the caller.
constexpr int kMaxPendingEvents = 10000;

}  // namespace

TGtkBackend::TGtkBackend(int& argc, char**& argv) {
  // Window handles are X11 window ids, so the desktop must be X11 (XWayland included).
  gdk_set_allowed_backends("x11");
  if (!gtk_init_check(&argc, &argv)) throw Exception("Cannot open the display");
  GtkCssProvider* css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(css, kControlStyle, -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(css);
  loop_ = g_main_loop_new(nullptr, FALSE);
}

TGtkBackend::~TGtkBackend() {
  for (auto& [component, peer] : peers_) {
    const_cast<TComponent*>(component)->SetObserver(nullptr);
    if (peer->timer_source) g_source_remove(peer->timer_source);
    if (peer->form && peer->component == peer->form) gtk_widget_destroy(peer->widget);
  }
  g_main_loop_unref(loop_);
}

void TGtkBackend::RunMessageLoop() { g_main_loop_run(loop_); }

void TGtkBackend::QuitMessageLoop() { g_main_loop_quit(loop_); }

void TGtkBackend::ProcessMessages() {
  input_hold_.Replay();
  for (int i = 0; i < kMaxPendingEvents && g_main_context_pending(nullptr); ++i)
    g_main_context_iteration(nullptr, FALSE);
}

void TGtkBackend::ProcessMessages(const TMessageFilter& filter) {
  std::vector<GtkWidget*> allowed;
  for (const TComponent* control : filter.Clicks) {
    if (GtkWidget* widget = WidgetOf(const_cast<TComponent&>(*control))) allowed.push_back(widget);
  }
  input_hold_.Begin(std::move(allowed));
  try {
    for (int i = 0; i < kMaxPendingEvents && g_main_context_pending(nullptr); ++i)
      g_main_context_iteration(nullptr, FALSE);
  } catch (...) {
    input_hold_.End();
    throw;
  }
  input_hold_.End();
}

void TGtkBackend::SetApplicationTitle(const std::string& title) {
  // GLib takes the application's name once; the task bar shows the window caption after that.
  if (application_named_) return;
  application_named_ = true;
  g_set_application_name(Cp1252ToUtf8(title).c_str());
}

TScreenSize TGtkBackend::PrimaryScreenSize() {
  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (!monitor) monitor = gdk_display_get_monitor(display, 0);
  if (!monitor) return {};
  GdkRectangle geometry;
  gdk_monitor_get_geometry(monitor, &geometry);
  return {geometry.width, geometry.height};
}

HWND TGtkBackend::DesktopWindow() { return gdk_x11_window_get_xid(gdk_get_default_root_window()); }

HWND TGtkBackend::FormHandle(TForm& form) {
  TPeer& peer = Mirror(form);
  gtk_widget_realize(peer.widget);
  return gdk_x11_window_get_xid(gtk_widget_get_window(peer.widget));
}

void TGtkBackend::SetPaintingFrozen(HWND window, bool frozen) {
  TPeer* peer = PeerOfHandle(window);
  if (!peer || peer->frozen == frozen) return;
  GdkWindow* gdk_window = gtk_widget_get_window(peer->widget);
  if (!gdk_window) return;
  peer->frozen = frozen;
  if (frozen) {
    gdk_window_freeze_updates(gdk_window);
  } else {
    gdk_window_thaw_updates(gdk_window);
    gtk_widget_queue_draw(peer->widget);
  }
}

TGtkBackend::TPeer* TGtkBackend::PeerOfHandle(HWND window) {
  for (auto& [component, peer] : peers_) {
    if (peer->component != peer->form) continue;
    GdkWindow* gdk_window = gtk_widget_get_window(peer->widget);
    if (gdk_window && gdk_x11_window_get_xid(gdk_window) == window) return peer.get();
  }
  return nullptr;
}

void TGtkBackend::MinimizeForm(TForm& form) {
  if (TPeer* peer = PeerOf(form)) gtk_window_iconify(GTK_WINDOW(peer->widget));
}

}  // namespace pelmorix
