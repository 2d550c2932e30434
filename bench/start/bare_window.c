// The floor of the launcher start benchmark: a bare WebKitGTK window of the launcher's size
// that loads one page and does nothing else.
//
//   bare_window URL [WIDTH HEIGHT]
#include <stdio.h>
#include <stdlib.h>
#include <webkit2/webkit2.h>

int main(int argc, char** argv) {
  if (argc != 2 && argc != 4) {
    fprintf(stderr, "usage: bare_window URL [WIDTH HEIGHT]\n");
    return 2;
  }
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "bare");
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk_widget_set_size_request(window, argc > 3 ? atoi(argv[2]) : 640,
                              argc > 3 ? atoi(argv[3]) : 440);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);
  // A context that keeps nothing on disk, as the launcher's: no cache of an earlier run helps.
  WebKitWebContext* context = webkit_web_context_new_ephemeral();
  WebKitWebView* view = WEBKIT_WEB_VIEW(webkit_web_view_new_with_context(context));
  // Painting under a plain X server needs the software path, as in the launcher.
  webkit_settings_set_hardware_acceleration_policy(webkit_web_view_get_settings(view),
                                                   WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
  gtk_container_add(GTK_CONTAINER(window), GTK_WIDGET(view));
  webkit_web_view_load_uri(view, argv[1]);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
