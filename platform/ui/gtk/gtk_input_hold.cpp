#include "platform/ui/gtk/gtk_input_hold.h"

namespace pelmorix {
namespace {

bool IsInput(GdkEventType type) {
  switch (type) {
    case GDK_MOTION_NOTIFY:
    case GDK_BUTTON_PRESS:
    case GDK_2BUTTON_PRESS:
    case GDK_3BUTTON_PRESS:
    case GDK_BUTTON_RELEASE:
    case GDK_KEY_PRESS:
    case GDK_KEY_RELEASE:
    case GDK_ENTER_NOTIFY:
    case GDK_LEAVE_NOTIFY:
    case GDK_SCROLL:
    case GDK_TOUCH_BEGIN:
    case GDK_TOUCH_UPDATE:
    case GDK_TOUCH_END:
    case GDK_TOUCH_CANCEL:
    case GDK_DELETE:
      return true;
    default:
      return false;
  }
}

void ToGtk(GdkEvent* event, gpointer) { gtk_main_do_event(event); }

constexpr guint kGrabRetryMs = 100;

}  // namespace

TGtkInputHold::~TGtkInputHold() {
  if (replay_source_) g_source_remove(replay_source_);
  for (GdkEvent* event : held_) gdk_event_free(event);
}

void TGtkInputHold::Begin(std::vector<GtkWidget*> allowed) {
  allowed_ = std::move(allowed);
  active_ = true;
  gdk_event_handler_set(&TGtkInputHold::Filter, this, nullptr);
}

void TGtkInputHold::End() {
  active_ = false;
  gdk_event_handler_set(&ToGtk, nullptr, nullptr);
  if (!held_.empty() && !replay_source_)
    replay_source_ = g_idle_add(&TGtkInputHold::ReplayWhenIdle, this);
}

void TGtkInputHold::Replay() {
  while (!held_.empty()) {
    GdkEvent* event = held_.front();
    held_.pop_front();
    gtk_main_do_event(event);
    gdk_event_free(event);
  }
}

gboolean TGtkInputHold::ReplayWhenIdle(gpointer self) {
  auto& hold = *static_cast<TGtkInputHold*>(self);
  hold.replay_source_ = 0;
  // Inside a pass the idle moment is not the loop's own; End asks again.
  if (hold.active_) return G_SOURCE_REMOVE;
  if (gtk_grab_get_current() != nullptr) {
    // A modal box would swallow input meant for the window under it (a close among it): the
    // held events wait until the box is gone.
    hold.replay_source_ = g_timeout_add(kGrabRetryMs, &TGtkInputHold::ReplayWhenIdle, self);
    return G_SOURCE_REMOVE;
  }
  hold.Replay();
  return G_SOURCE_REMOVE;
}

bool TGtkInputHold::Allowed(GdkEvent* event) const {
  GtkWidget* target = gtk_get_event_widget(event);
  for (GtkWidget* widget : allowed_) {
    if (target && (target == widget || gtk_widget_is_ancestor(target, widget))) return true;
  }
  return false;
}

void TGtkInputHold::Filter(GdkEvent* event, gpointer self) {
  auto& hold = *static_cast<TGtkInputHold*>(self);
  if (IsInput(event->type) && !hold.Allowed(event)) {
    hold.held_.push_back(gdk_event_copy(event));
    return;
  }
  gtk_main_do_event(event);
}

}  // namespace pelmorix
