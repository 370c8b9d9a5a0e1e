// The drop-down's button widget and what the accessibility tree sees of it: a combo box whose one
// child is a list with one item per caption, in list order, with the selection readable and
// settable, so that screen readers and tests can read the list without opening it.
#ifndef TOLVAR_MENU_WINDOW_GTK_DROP_DOWN_ACCESSIBLE_H_
#define TOLVAR_MENU_WINDOW_GTK_DROP_DOWN_ACCESSIBLE_H_

#include <gtk/gtk.h>

namespace tolvar {

class DropDown;

// A toggle button whose accessible object presents `owner` as a combo box with a list.
GtkWidget* DropDownButtonNew(DropDown* owner);

// Cuts the link to the owner, which is going away; the accessible objects then show no items.
void DropDownButtonDetach(GtkWidget* button);

// Tells assistive technology that the selection or the open state changed.
void DropDownAccessibleChanged(GtkWidget* button);

// Gives the cell of `row` in the open list's one-column `tree` the `description`. The tree view
// makes its cells' accessible objects as they are asked for, and forgets them as it likes: the
// cursor's cell is described when the cursor reaches it, before a screen reader asks.
void DescribeTreeCell(GtkWidget* tree, int row, const char* description);

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_GTK_DROP_DOWN_ACCESSIBLE_H_
