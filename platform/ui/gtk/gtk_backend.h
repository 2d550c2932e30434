#pragma once

#include <gtk/gtk.h>

#include <map>
#include <memory>

#include "platform/ui/component.h"
#include "platform/ui/gtk/gtk_input_hold.h"
#include "platform/ui/gtk/gtk_message_box.h"
#include "platform/ui/ui_backend.h"

namespace pelmorix {

class TBitBtn;
class TControl;
class TTimer;
class TWinControl;

// The GTK 3 desktop. A form becomes a fixed-size GtkWindow whose client area is a GtkOverlay:
// its alClient control (the browser) is the base child, every other control an overlay child
// at the control's absolute place; a panel is an overlay of its own. Widgets follow the
// control objects through the observer interface.
class TGtkBackend : public TUiBackend, private TComponentObserver {
 public:
  // Initialises GTK on X11; without a display GTK cannot start and this raises.
  TGtkBackend(int& argc, char**& argv);
  ~TGtkBackend() override;

  // A control of a kind GTK does not know (the browser) brings its own widget; call before
  // its form is first shown.
  void AdoptWidget(TControl& control, GtkWidget* widget);
  // The widget that mirrors a component, or none before its form was shown.
  GtkWidget* WidgetOf(TComponent& component) const;

  TMessageBoxHost& MessageBoxes() override { return message_boxes_; }
  void ShowForm(TForm& form) override;
  void HideForm(TForm& form) override;
  void MinimizeForm(TForm& form) override;
  HWND FormHandle(TForm& form) override;
  void RunMessageLoop() override;
  void QuitMessageLoop() override;
  void ProcessMessages() override;
  void ProcessMessages(const TMessageFilter& filter) override;
  void SetApplicationTitle(const std::string& title) override;
  TScreenSize PrimaryScreenSize() override;
  HWND DesktopWindow() override;
  void SetPaintingFrozen(HWND window, bool frozen) override;

 private:
  struct TPeer {
    TComponent* component = nullptr;
    GtkWidget* widget = nullptr;     // the control's own widget (for a form its window)
    GtkWidget* container = nullptr;  // where children go (the overlay of a form or panel)
    TForm* form = nullptr;
    guint timer_source = 0;
    bool frozen = false;
  };

  void Changed(TComponent& component) override;
  void Repaint(TControl& control) override;
  void Destroying(TComponent& component) override;

  TPeer& Mirror(TForm& form);
  void MirrorChildren(TWinControl& parent, TPeer& parent_peer);
  TPeer& MirrorControl(TControl& control, TPeer& parent_peer);
  GtkWidget* NewWidgetFor(TControl& control, TPeer& peer);
  void MirrorTimer(TTimer& timer, TForm& form);

  void Sync(TPeer& peer);
  void SyncForm(TPeer& peer);
  void SyncControl(TPeer& peer);
  void SyncTimer(TPeer& peer);
  void ApplyWindowFunctions(TForm& form, GtkWidget* window);

  TPeer* PeerOf(const TComponent& component) const;
  TPeer* PeerOfHandle(HWND window);

  static gboolean PlaceChild(GtkOverlay* overlay, GtkWidget* widget, GdkRectangle* allocation,
                             gpointer self);
  static gboolean DeleteEvent(GtkWidget* window, GdkEvent* event, gpointer peer);
  static void Clicked(GtkButton* button, gpointer peer);
  static gboolean TimerElapsed(gpointer peer);
  static gboolean DrawBitBtn(GtkWidget* widget, cairo_t* cr, gpointer peer);
  static gboolean DrawPanel(GtkWidget* widget, cairo_t* cr, gpointer peer);
  static gboolean DrawFace(GtkWidget* widget, cairo_t* cr, gpointer peer);

  TGtkMessageBoxHost message_boxes_;
  TGtkInputHold input_hold_;
  GMainLoop* loop_ = nullptr;
  bool application_named_ = false;
  std::map<const TComponent*, std::unique_ptr<TPeer>> peers_;
  std::map<const TControl*, GtkWidget*> adopted_;
};

// Draws a bitmap button: face and frame, the glyph cell for its state with the cell's
// transparent colour left out, and the caption beside the glyph.
void PaintBitBtn(cairo_t* cr, const TBitBtn& button, int width, int height, bool pressed,
                 bool focused);

}  // namespace pelmorix
