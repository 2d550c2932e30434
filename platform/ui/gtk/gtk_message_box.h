#pragma once

#include <gtk/gtk.h>

#include "platform/ui/message_box.h"

namespace pelmorix {

// Message boxes as modal GTK dialogs, each run in a nested loop until answered.
class TGtkMessageBoxHost : public TMessageBoxHost {
 public:
  int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override;

  // The window the boxes stay in front of (none: they float free).
  void SetParent(GtkWindow* parent) { parent_ = parent; }
  GtkWindow* Parent() const { return parent_; }

 private:
  GtkWindow* parent_ = nullptr;
};

}  // namespace pelmorix
