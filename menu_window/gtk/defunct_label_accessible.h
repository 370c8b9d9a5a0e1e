// A mend for GTK 3's label accessibles: once their label is destroyed they report no state set at
// all, where an accessible whose widget is gone should report itself defunct.
#ifndef TOLVAR_MENU_WINDOW_GTK_DEFUNCT_LABEL_ACCESSIBLE_H_
#define TOLVAR_MENU_WINDOW_GTK_DEFUNCT_LABEL_ACCESSIBLE_H_

namespace tolvar {

// Makes every label accessible of this process answer "defunct" after its label is destroyed.
// The accessibility bridge keeps the labels of a message box it has read for as long as a client
// holds them, and asks for their states again when the tree is next read; without this, each
// such label prints a handful of criticals then. Call once, after GTK is initialised.
void ReportDestroyedLabelsDefunct();

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_GTK_DEFUNCT_LABEL_ACCESSIBLE_H_
