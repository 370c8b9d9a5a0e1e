// The lower floor for the start-up benchmark: an empty GTK 3 window of the menu's size, with GDK's
// GL off in the same way, built with the same compiler and flags. It draws no text, so it never
// pays for fonts; widgets_gtk_window is the floor that does.
#include <gtk/gtk.h>

#include <cstdlib>

int main() {
  setenv("GDK_GL", "disable", 1);
  if (!gtk_init_check(nullptr, nullptr)) return 1;
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "Empty");
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk_widget_set_size_request(window, 508, 175);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
