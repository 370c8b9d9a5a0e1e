// CaptionListModel: the GtkTreeModel interface over a vector of captions. Iterators carry the row
// index; rows never change once inserted, so iterators stay valid (ITERS_PERSIST).
#include "menu_window/gtk/caption_list_model.h"

#include <cairo-gobject.h>

#include <algorithm>

namespace {

struct TolvarCaptionModel {
  GObject parent;
  const std::vector<std::string_view>* captions;
  const tolvar::ListIcons* icons;
  gint stamp;
};

struct TolvarCaptionModelClass {
  GObjectClass parent_class;
};

void tolvar_caption_model_tree_model_init(GtkTreeModelIface* iface);

G_DEFINE_TYPE_WITH_CODE(TolvarCaptionModel, tolvar_caption_model, G_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(GTK_TYPE_TREE_MODEL,
                                              tolvar_caption_model_tree_model_init))

TolvarCaptionModel* Self(GtkTreeModel* model) {
  return G_TYPE_CHECK_INSTANCE_CAST(model, tolvar_caption_model_get_type(), TolvarCaptionModel);
}

gint RowCount(GtkTreeModel* model) {
  const TolvarCaptionModel* self = Self(model);
  return self->captions == nullptr ? 0 : static_cast<gint>(self->captions->size());
}

gboolean SetIter(GtkTreeModel* model, GtkTreeIter* iter, gint row) {
  if (row < 0 || row >= RowCount(model)) {
    iter->stamp = 0;
    return FALSE;
  }
  iter->stamp = Self(model)->stamp;
  iter->user_data = GINT_TO_POINTER(row);
  return TRUE;
}

gint RowOf(const GtkTreeIter* iter) { return GPOINTER_TO_INT(iter->user_data); }

GtkTreeModelFlags GetFlags(GtkTreeModel*) {
  return static_cast<GtkTreeModelFlags>(GTK_TREE_MODEL_LIST_ONLY | GTK_TREE_MODEL_ITERS_PERSIST);
}

gint GetNColumns(GtkTreeModel*) { return 2; }

GType GetColumnType(GtkTreeModel*, gint column) {
  return column == tolvar::kIconColumn ? CAIRO_GOBJECT_TYPE_SURFACE : G_TYPE_STRING;
}

gboolean GetIter(GtkTreeModel* model, GtkTreeIter* iter, GtkTreePath* path) {
  if (gtk_tree_path_get_depth(path) != 1) return FALSE;
  return SetIter(model, iter, gtk_tree_path_get_indices(path)[0]);
}

GtkTreePath* GetPath(GtkTreeModel*, GtkTreeIter* iter) {
  return gtk_tree_path_new_from_indices(RowOf(iter), -1);
}

void GetValue(GtkTreeModel* model, GtkTreeIter* iter, gint column, GValue* value) {
  const gint row = RowOf(iter);
  if (column == tolvar::kIconColumn) {
    g_value_init(value, CAIRO_GOBJECT_TYPE_SURFACE);
    const tolvar::ListIcons* icons = Self(model)->icons;
    if (icons != nullptr && row < RowCount(model)) g_value_set_boxed(value, icons->ForRow(row));
    return;
  }
  g_value_init(value, G_TYPE_STRING);
  if (row >= RowCount(model)) return;
  const std::string_view caption = (*Self(model)->captions)[row];
  const size_t shown = tolvar::ShownLength(caption);
  // The renderer copies the text at once; the kept caption, with its NUL, outlives that.
  if (shown == caption.size()) {
    g_value_set_static_string(value, caption.data());
  } else {
    g_value_take_string(value, g_strndup(caption.data(), shown));
  }
}

gboolean IterNext(GtkTreeModel* model, GtkTreeIter* iter) {
  return SetIter(model, iter, RowOf(iter) + 1);
}

gboolean IterPrevious(GtkTreeModel* model, GtkTreeIter* iter) {
  return SetIter(model, iter, RowOf(iter) - 1);
}

gboolean IterNthChild(GtkTreeModel* model, GtkTreeIter* iter, GtkTreeIter* parent, gint n) {
  if (parent != nullptr) return FALSE;  // a flat list: rows have no children
  return SetIter(model, iter, n);
}

gboolean IterChildren(GtkTreeModel* model, GtkTreeIter* iter, GtkTreeIter* parent) {
  return IterNthChild(model, iter, parent, 0);
}

gboolean IterHasChild(GtkTreeModel*, GtkTreeIter*) { return FALSE; }

gint IterNChildren(GtkTreeModel* model, GtkTreeIter* iter) {
  return iter == nullptr ? RowCount(model) : 0;
}

gboolean IterParent(GtkTreeModel*, GtkTreeIter*, GtkTreeIter*) { return FALSE; }

void tolvar_caption_model_tree_model_init(GtkTreeModelIface* iface) {
  iface->get_flags = GetFlags;
  iface->get_n_columns = GetNColumns;
  iface->get_column_type = GetColumnType;
  iface->get_iter = GetIter;
  iface->get_path = GetPath;
  iface->get_value = GetValue;
  iface->iter_next = IterNext;
  iface->iter_previous = IterPrevious;
  iface->iter_children = IterChildren;
  iface->iter_has_child = IterHasChild;
  iface->iter_n_children = IterNChildren;
  iface->iter_nth_child = IterNthChild;
  iface->iter_parent = IterParent;
}

void tolvar_caption_model_class_init(TolvarCaptionModelClass*) {}

void tolvar_caption_model_init(TolvarCaptionModel* self) {
  self->captions = nullptr;
  self->icons = nullptr;
  self->stamp = static_cast<gint>(g_random_int());
}

}  // namespace

namespace tolvar {

size_t ShownLength(std::string_view caption) {
  // Every character takes at least a byte: shorter captions need no counting.
  if (caption.size() <= kShownCharacters) return caption.size();
  const char* const begin = caption.data();
  const char* const limit = begin + caption.size();
  const char* end = begin;
  for (int characters = 0; characters < kShownCharacters && end < limit; ++characters) {
    end = g_utf8_next_char(end);
  }
  return static_cast<size_t>(std::min(end, limit) - begin);
}

GtkTreeModel* CaptionListModelNew(const std::vector<std::string_view>* captions,
                                  const ListIcons* icons) {
  auto* self =
      static_cast<TolvarCaptionModel*>(g_object_new(tolvar_caption_model_get_type(), nullptr));
  self->captions = captions;
  self->icons = icons;
  return GTK_TREE_MODEL(self);
}

void CaptionListModelRowInserted(GtkTreeModel* model, int position) {
  GtkTreeIter iter;
  if (!SetIter(model, &iter, position)) return;
  GtkTreePath* path = gtk_tree_path_new_from_indices(position, -1);
  gtk_tree_model_row_inserted(model, path, &iter);
  gtk_tree_path_free(path);
}

void CaptionListModelRelease(GtkTreeModel* model) {
  TolvarCaptionModel* self = Self(model);
  // Views hold iterators of the old rows: a new stamp makes them invalid.
  self->captions = nullptr;
  self->icons = nullptr;
  ++self->stamp;
}

}  // namespace tolvar
