// CaptionListModel: a GtkTreeModel that serves the drop-down's captions straight from its vector,
// so that a list of 32766 entries costs no second copy in a GtkListStore and attaches to a tree
// view at once; its second column is each row's icon, from ListIcons.
#ifndef TOLVAR_MENU_WINDOW_GTK_CAPTION_LIST_MODEL_H_
#define TOLVAR_MENU_WINDOW_GTK_CAPTION_LIST_MODEL_H_

#include <gtk/gtk.h>

#include <string_view>
#include <vector>

#include "menu_window/gtk/list_icons.h"

namespace tolvar {

// How much of a caption is drawn: at most kShownCharacters characters, since even the narrowest
// that many fill any screen, and shaping a caption costs time that grows with the square of its
// longest cluster (a letter with thousands of combining accents would freeze the list). Returns
// the length in bytes of that part of `caption`.
inline constexpr int kShownCharacters = 256;
size_t ShownLength(std::string_view caption);

// The model's columns.
inline constexpr int kCaptionColumn = 0;  // G_TYPE_STRING
inline constexpr int kIconColumn = 1;     // CAIRO_GOBJECT_TYPE_SURFACE, null for no icon

// Creates the model over `captions`, each followed by a NUL, and `icons`, which must outlive it or
// be released with CaptionListModelRelease. Row i shows captions[i]. The caller owns the returned
// reference.
GtkTreeModel* CaptionListModelNew(const std::vector<std::string_view>* captions,
                                  const ListIcons* icons);

// Tells views that a row was inserted into the vector at `position`.
void CaptionListModelRowInserted(GtkTreeModel* model, int position);

// Drops the model's link to the vector (it serves no rows afterwards), for when the vector's owner
// goes away while a view may still hold the model.
void CaptionListModelRelease(GtkTreeModel* model);

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_GTK_CAPTION_LIST_MODEL_H_
