// How the GTK backend mirrors forms and their controls onto widgets and keeps them in step.
#include <algorithm>
#include <vector>

#include "base/codepage.h"
#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/form.h"
#include "platform/ui/gtk/gtk_backend.h"
#include "platform/ui/gtk/gtk_text.h"
#include "platform/ui/label.h"
#include "platform/ui/panel.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/timer.h"

namespace pelmorix {

namespace {

constexpr char kControlKey[] = "pelmorix-control";

}  // namespace

void TGtkBackend::AdoptWidget(TControl& control, GtkWidget* widget) { adopted_[&control] = widget; }

GtkWidget* TGtkBackend::WidgetOf(TComponent& component) const {
  TPeer* peer = PeerOf(component);
  return peer ? peer->widget : nullptr;
}

TGtkBackend::TPeer* TGtkBackend::PeerOf(const TComponent& component) const {
  auto found = peers_.find(&component);
  return found == peers_.end() ? nullptr : found->second.get();
}

void TGtkBackend::ShowForm(TForm& form) {
  TPeer& peer = Mirror(form);
  form.Application().DispatchEvent([&] { form.DoShow(); });
  // Closed from OnShow: the window never appears.
  if (!form.Visible()) return;
  SyncForm(peer);
  GtkWindow* window = GTK_WINDOW(peer.widget);
  if (form.Position() == poScreenCenter)
    gtk_window_set_position(window, GTK_WIN_POS_CENTER);
  else
    gtk_window_move(window, form.Left(), form.Top());
  gtk_widget_show(peer.widget);
  if (form.Application().MainForm() == &form) message_boxes_.SetParent(window);
}

void TGtkBackend::HideForm(TForm& form) {
  if (TPeer* peer = PeerOf(form)) gtk_widget_hide(peer->widget);
}

TGtkBackend::TPeer& TGtkBackend::Mirror(TForm& form) {
  if (TPeer* existing = PeerOf(form)) return *existing;
  auto owned = std::make_unique<TPeer>();
  TPeer& peer = *owned;
  peer.component = &form;
  peer.form = &form;
  peer.widget = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  peer.container = gtk_overlay_new();
  gtk_container_add(GTK_CONTAINER(peer.widget), peer.container);
  gtk_widget_show(peer.container);
  g_signal_connect(peer.container, "get-child-position", G_CALLBACK(PlaceChild), this);
  g_signal_connect(peer.widget, "delete-event", G_CALLBACK(DeleteEvent), &peer);
  peers_[&form] = std::move(owned);
  form.SetObserver(this);

  MirrorChildren(form, peer);
  if (!gtk_bin_get_child(GTK_BIN(peer.container))) {
    GtkWidget* face = gtk_drawing_area_new();
    g_signal_connect(face, "draw", G_CALLBACK(DrawFace), &peer);
    gtk_container_add(GTK_CONTAINER(peer.container), face);
    gtk_widget_show(face);
  }
  for (const auto& component : form.Components())
    if (auto* timer = dynamic_cast<TTimer*>(component.get())) MirrorTimer(*timer, form);
  SyncForm(peer);
  gtk_widget_realize(peer.widget);
  ApplyWindowFunctions(form, peer.widget);
  return peer;
}

void TGtkBackend::MirrorChildren(TWinControl& parent, TPeer& parent_peer) {
  for (TControl* child : parent.Controls()) {
    TPeer* peer = PeerOf(*child);
    if (!peer) peer = &MirrorControl(*child, parent_peer);
    if (auto* container = dynamic_cast<TWinControl*>(child); container && peer->container)
      MirrorChildren(*container, *peer);
  }
}

TGtkBackend::TPeer& TGtkBackend::MirrorControl(TControl& control, TPeer& parent_peer) {
  auto owned = std::make_unique<TPeer>();
  TPeer& peer = *owned;
  peer.component = &control;
  peer.form = parent_peer.form;
  peer.widget = NewWidgetFor(control, peer);
  g_object_set_data(G_OBJECT(peer.widget), kControlKey, &control);
  gtk_style_context_add_class(gtk_widget_get_style_context(peer.widget), "pelmorix-control");
  GtkContainer* overlay = GTK_CONTAINER(parent_peer.container);
  if (control.Align() == alClient && !gtk_bin_get_child(GTK_BIN(overlay)))
    gtk_container_add(overlay, peer.widget);
  else
    gtk_overlay_add_overlay(GTK_OVERLAY(overlay), peer.widget);
  peers_[&control] = std::move(owned);
  control.SetObserver(this);
  SyncControl(peer);
  return peer;
}

GtkWidget* TGtkBackend::NewWidgetFor(TControl& control, TPeer& peer) {
  if (auto adopted = adopted_.find(&control); adopted != adopted_.end()) return adopted->second;
  if (dynamic_cast<TBitBtn*>(&control)) {
    GtkWidget* button = gtk_button_new();
    g_signal_connect(button, "draw", G_CALLBACK(DrawBitBtn), &peer);
    g_signal_connect(button, "clicked", G_CALLBACK(Clicked), &peer);
    return button;
  }
  if (dynamic_cast<TButton*>(&control)) {
    GtkWidget* button = gtk_button_new_with_mnemonic("");
    g_signal_connect(button, "clicked", G_CALLBACK(Clicked), &peer);
    return button;
  }
  if (dynamic_cast<TLabel*>(&control)) return gtk_label_new("");
  if (dynamic_cast<TProgressBar*>(&control)) return gtk_progress_bar_new();
  if (dynamic_cast<TWinControl*>(&control)) {
    peer.container = gtk_overlay_new();
    g_signal_connect(peer.container, "get-child-position", G_CALLBACK(PlaceChild), this);
    GtkWidget* face = gtk_drawing_area_new();
    g_signal_connect(face, "draw", G_CALLBACK(DrawPanel), &peer);
    gtk_container_add(GTK_CONTAINER(peer.container), face);
    gtk_widget_show(face);
    return peer.container;
  }
  GtkWidget* face = gtk_drawing_area_new();
  g_signal_connect(face, "draw", G_CALLBACK(DrawFace), &peer);
  return face;
}

void TGtkBackend::MirrorTimer(TTimer& timer, TForm& form) {
  auto owned = std::make_unique<TPeer>();
  owned->component = &timer;
  owned->form = &form;
  TPeer& peer = *owned;
  peers_[&timer] = std::move(owned);
  timer.SetObserver(this);
  SyncTimer(peer);
}

void TGtkBackend::Sync(TPeer& peer) {
  if (peer.component == peer.form)
    SyncForm(peer);
  else if (dynamic_cast<TTimer*>(peer.component))
    SyncTimer(peer);
  else
    SyncControl(peer);
}

void TGtkBackend::SyncForm(TPeer& peer) {
  TForm& form = *peer.form;
  GtkWindow* window = GTK_WINDOW(peer.widget);
  gtk_window_set_title(window, Cp1252ToUtf8(form.Caption()).c_str());
  const bool sizeable = form.BorderStyle() == bsSizeable;
  gtk_window_set_resizable(window, sizeable);
  gtk_widget_set_size_request(peer.container, std::max(form.ClientWidth(), 0),
                              std::max(form.ClientHeight(), 0));
  if (sizeable) gtk_window_resize(window, std::max(form.Width(), 1), std::max(form.Height(), 1));
  ApplyWindowFunctions(form, peer.widget);
}

void TGtkBackend::ApplyWindowFunctions(TForm& form, GtkWidget* window) {
  GdkWindow* gdk_window = gtk_widget_get_window(window);
  if (!gdk_window) return;
  const bool sizeable = form.BorderStyle() == bsSizeable;
  const TBorderIcons icons = form.BorderIcons();
  int functions = GDK_FUNC_MOVE | GDK_FUNC_CLOSE;
  int decorations = GDK_DECOR_BORDER | GDK_DECOR_TITLE;
  if (icons & biSystemMenu) decorations |= GDK_DECOR_MENU;
  if (icons & biMinimize) {
    functions |= GDK_FUNC_MINIMIZE;
    decorations |= GDK_DECOR_MINIMIZE;
  }
  if ((icons & biMaximize) && sizeable) {
    functions |= GDK_FUNC_MAXIMIZE;
    decorations |= GDK_DECOR_MAXIMIZE;
  }
  if (sizeable) {
    functions |= GDK_FUNC_RESIZE;
    decorations |= GDK_DECOR_RESIZEH;
  }
  gdk_window_set_functions(gdk_window, static_cast<GdkWMFunction>(functions));
  gdk_window_set_decorations(gdk_window, static_cast<GdkWMDecoration>(decorations));
}

void TGtkBackend::SyncControl(TPeer& peer) {
  auto& control = static_cast<TControl&>(*peer.component);
  GtkWidget* widget = peer.widget;
  gtk_widget_set_visible(widget, control.Visible());
  gtk_widget_set_sensitive(widget, control.Enabled());
  if (dynamic_cast<TBitBtn*>(&control)) {
    // Drawn from the control's properties in DrawBitBtn.
  } else if (auto* button = dynamic_cast<TButton*>(&control)) {
    gtk_button_set_use_underline(GTK_BUTTON(widget), TRUE);
    gtk_button_set_label(GTK_BUTTON(widget), GtkMnemonic(button->Caption()).c_str());
    if (GtkWidget* label = gtk_bin_get_child(GTK_BIN(widget)); GTK_IS_LABEL(label)) {
      PangoAttrList* attributes = NewFontAttributes(button->Font(), button->Font().Color());
      gtk_label_set_attributes(GTK_LABEL(label), attributes);
      pango_attr_list_unref(attributes);
    }
    gtk_widget_set_can_default(widget, button->Default());
    if (button->Default() && gtk_widget_get_toplevel(widget) != widget)
      gtk_widget_grab_default(widget);
  } else if (auto* label = dynamic_cast<TLabel*>(&control)) {
    gtk_label_set_text(GTK_LABEL(widget), Cp1252ToUtf8(label->Caption()).c_str());
    gtk_label_set_xalign(GTK_LABEL(widget), label->Alignment() == taCenter         ? 0.5f
                                            : label->Alignment() == taRightJustify ? 1.0f
                                                                                   : 0.0f);
    gtk_label_set_yalign(GTK_LABEL(widget), 0.0f);
    PangoAttrList* attributes = NewFontAttributes(label->Font(), label->Font().Color());
    gtk_label_set_attributes(GTK_LABEL(widget), attributes);
    pango_attr_list_unref(attributes);
  } else if (auto* bar = dynamic_cast<TProgressBar*>(&control)) {
    const int span = bar->Max() - bar->Min();
    gtk_progress_bar_set_fraction(
        GTK_PROGRESS_BAR(widget),
        span > 0 ? static_cast<double>(bar->Position() - bar->Min()) / span : 0.0);
  }
  if (auto* container = dynamic_cast<TWinControl*>(&control); container && peer.container)
    MirrorChildren(*container, peer);
  gtk_widget_queue_resize(widget);
  gtk_widget_queue_draw(widget);
}

void TGtkBackend::SyncTimer(TPeer& peer) {
  auto& timer = static_cast<TTimer&>(*peer.component);
  if (peer.timer_source) g_source_remove(peer.timer_source);
  peer.timer_source = 0;
  if (timer.Enabled() && timer.Interval() > 0 && timer.OnTimer)
    peer.timer_source = g_timeout_add(timer.Interval(), TimerElapsed, &peer);
}

void TGtkBackend::Changed(TComponent& component) {
  if (TPeer* peer = PeerOf(component)) {
    if (peer->component == peer->form) MirrorChildren(*peer->form, *peer);
    Sync(*peer);
  }
}

void TGtkBackend::Repaint(TControl& control) {
  // Painting happens at the next turn of the loop; callers that must see it let pending
  // messages run right after.
  if (TPeer* peer = PeerOf(control)) gtk_widget_queue_draw(peer->widget);
}

void TGtkBackend::Destroying(TComponent& component) {
  TPeer* peer = PeerOf(component);
  if (!peer) return;
  std::vector<const TComponent*> gone{&component};
  if (peer->component == peer->form) {
    for (auto& [other, other_peer] : peers_)
      if (other_peer->form == peer->form && other != &component) gone.push_back(other);
    if (message_boxes_.Parent() == GTK_WINDOW(peer->widget)) message_boxes_.SetParent(nullptr);
    gtk_widget_destroy(peer->widget);
  } else if (peer->widget) {
    gtk_widget_destroy(peer->widget);
  }
  for (const TComponent* done : gone) {
    TPeer& each = *peers_[done];
    if (each.timer_source) g_source_remove(each.timer_source);
    const_cast<TComponent*>(done)->SetObserver(nullptr);
    if (auto* control = dynamic_cast<const TControl*>(done)) adopted_.erase(control);
    peers_.erase(done);
  }
}

gboolean TGtkBackend::PlaceChild(GtkOverlay*, GtkWidget* widget, GdkRectangle* allocation,
                                 gpointer) {
  auto* control = static_cast<TControl*>(g_object_get_data(G_OBJECT(widget), kControlKey));
  if (!control) return FALSE;
  allocation->x = control->Left();
  allocation->y = control->Top();
  allocation->width = std::max(control->Width(), 1);
  allocation->height = std::max(control->Height(), 1);
  return TRUE;
}

gboolean TGtkBackend::DeleteEvent(GtkWidget*, GdkEvent*, gpointer data) {
  TForm& form = *static_cast<TPeer*>(data)->form;
  TForm* closing = &form;
  form.Application().DispatchEvent({TEventSource::Close, closing}, [closing] { closing->Close(); });
  return TRUE;
}

void TGtkBackend::Clicked(GtkButton*, gpointer data) {
  auto* peer = static_cast<TPeer*>(data);
  auto& button = static_cast<TButton&>(*peer->component);
  TButton* clicked = &button;
  peer->form->Application().DispatchEvent({TEventSource::Click, clicked},
                                          [clicked] { clicked->Click(); });
}

gboolean TGtkBackend::TimerElapsed(gpointer data) {
  auto* peer = static_cast<TPeer*>(data);
  const guint source = peer->timer_source;
  auto& timer = static_cast<TTimer&>(*peer->component);
  TTimer* elapsed = &timer;
  peer->form->Application().DispatchEvent({TEventSource::Timer, elapsed},
                                          [elapsed] { elapsed->Timer(); });
  // A handler that disabled the timer has removed this source already.
  return peer->timer_source == source ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
}

}  // namespace pelmorix
