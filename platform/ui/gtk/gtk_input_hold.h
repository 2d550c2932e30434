#pragma once

#include <gtk/gtk.h>

#include <deque>
#include <vector>

namespace pelmorix {

// Keeps the user's input back while a filtered pass runs: keys, pointer events and window
// closes go only to the allowed widgets (and the widgets inside them); the rest is queued as it
// came and handed to GTK once no pass runs, in an idle moment of the loop. Painting, moves and
// resizes are never held.
class TGtkInputHold {
 public:
  TGtkInputHold() = default;
  ~TGtkInputHold();
  TGtkInputHold(const TGtkInputHold&) = delete;
  TGtkInputHold& operator=(const TGtkInputHold&) = delete;

  // Takes GDK's events until End.
  void Begin(std::vector<GtkWidget*> allowed);
  void End();
  // Hands the held events to GTK now.
  void Replay();

 private:
  static void Filter(GdkEvent* event, gpointer self);
  static gboolean ReplayWhenIdle(gpointer self);
  bool Allowed(GdkEvent* event) const;

  bool active_ = false;
  std::vector<GtkWidget*> allowed_;
  std::deque<GdkEvent*> held_;
  guint replay_source_ = 0;
};

}  // namespace pelmorix
