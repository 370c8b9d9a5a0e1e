// CaptionListModel: a one-column GtkTreeModel that serves the drop-down's captions straight from a
// std::vector<std::string>, so that a list of 32766 entries costs no second copy in a GtkListStore
// and attaches to a tree view at once.
#ifndef TOLVAR_MENU_WINDOW_GTK_CAPTION_LIST_MODEL_H_
#define TOLVAR_MENU_WINDOW_GTK_CAPTION_LIST_MODEL_H_

#include <gtk/gtk.h>

#include <string>
#include <vector>

namespace tolvar {

// Creates the model over `captions`, which must outlive it or be released with
// CaptionListModelRelease. Row i shows captions[i]. The caller owns the returned reference.
GtkTreeModel* CaptionListModelNew(const std::vector<std::string>* captions);

// Tells views that a row was inserted into the vector at `position`.
void CaptionListModelRowInserted(GtkTreeModel* model, int position);

// Drops the model's link to the vector (it serves no rows afterwards), for when the vector's owner
// goes away while a view may still hold the model.
void CaptionListModelRelease(GtkTreeModel* model);

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_GTK_CAPTION_LIST_MODEL_H_
