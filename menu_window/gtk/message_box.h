// Modal message boxes for the GTK window: the warnings of the menu and the run-time error report.
#ifndef TOLVAR_MENU_WINDOW_GTK_MESSAGE_BOX_H_
#define TOLVAR_MENU_WINDOW_GTK_MESSAGE_BOX_H_

#include <gtk/gtk.h>

#include <string>

namespace tolvar {

// Shows `text` under `title` with the icon of `type` (warning or error) and a single OK button,
// modal to `parent` (may be null), and returns once the user has dismissed it.
void ShowMessageBox(GtkWindow* parent, const std::string& text, const std::string& title,
                    GtkMessageType type);

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_GTK_MESSAGE_BOX_H_
