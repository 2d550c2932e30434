#include "platform/ui/gtk/gtk_message_box.h"

#include "base/codepage.h"

namespace pelmorix {

int TGtkMessageBoxHost::MessageBox(const std::string& text, const std::string& caption,
                                   uint32_t flags) {
  const bool yes_no = (flags & 0xF) == MB_YESNO;
  const GtkMessageType type =
      (flags & 0xF0) == MB_ICONERROR ? GTK_MESSAGE_ERROR : GTK_MESSAGE_OTHER;
  GtkWidget* dialog = gtk_message_dialog_new(
      parent_, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT), type,
      yes_no ? GTK_BUTTONS_YES_NO : GTK_BUTTONS_OK, "%s", Cp1252ToUtf8(text).c_str());
  gtk_window_set_title(GTK_WINDOW(dialog), Cp1252ToUtf8(caption).c_str());
  // Enter answers with the first button, Yes or OK, as on the desktop this stands in for.
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), yes_no ? GTK_RESPONSE_YES : GTK_RESPONSE_OK);
  gtk_window_set_position(GTK_WINDOW(dialog),
                          parent_ ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
  const int response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  if (!yes_no) return IDOK;
  // A box closed by its frame counts as No: a question is never answered Yes by accident.
  return response == GTK_RESPONSE_YES ? IDYES : IDNO;
}

}  // namespace pelmorix
