// Message boxes on GtkMessageDialog, with the icon that GTK 3.24 no longer shows by itself.
#include "menu_window/gtk/message_box.h"

namespace tolvar {

void ShowMessageBox(GtkWindow* parent, const std::string& text, const std::string& title,
                    GtkMessageType type) {
  // Not destroyed with its parent: the window can be closed while the box waits, and the box
  // must still be there when the wait ends.
  GtkWidget* dialog =
      gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, type, GTK_BUTTONS_OK, "%s", text.c_str());
  gtk_window_set_title(GTK_WINDOW(dialog), title.c_str());
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
  // Loading can warn before the window is shown: centre on the screen then, not on nothing.
  const bool parent_shown = parent != nullptr && gtk_widget_get_visible(GTK_WIDGET(parent));
  gtk_window_set_position(GTK_WINDOW(dialog),
                          parent_shown ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);

  // The image is the only way to give a GTK 3.24 message dialog its icon; it is deprecated only
  // in favour of dialogs without one.
  GtkWidget* image = gtk_image_new_from_icon_name(
      type == GTK_MESSAGE_ERROR ? "dialog-error" : "dialog-warning", GTK_ICON_SIZE_DIALOG);
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_message_dialog_set_image(GTK_MESSAGE_DIALOG(dialog), image);
  G_GNUC_END_IGNORE_DEPRECATIONS
  gtk_widget_show(image);

  gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
}

}  // namespace tolvar
