// ListIcons: the pictures beside the drop-down's captions, each file's once as a cairo surface at
// the screen's scale, and which row shows which. The caption model serves them as its second
// column; the closed list shows the chosen row's. Also the conversions of the loader's pixels into
// a GdkPixbuf, which the window's own icon takes, and into a cairo surface, which the picture
// area takes too.
#ifndef TOLVAR_MENU_WINDOW_GTK_LIST_ICONS_H_
#define TOLVAR_MENU_WINDOW_GTK_LIST_ICONS_H_

#include <gtk/gtk.h>

#include <vector>

#include "picture/picture_pixels.h"

namespace tolvar {

// The loader's premultiplied pixels as a new GdkPixbuf (RGBA, not premultiplied), owned by the
// caller.
GdkPixbuf* PixbufFromPixels(const PicturePixels& pixels);

// The loader's pixels as a new cairo image surface of `scale` device pixels to the layout's pixel,
// owned by the caller; null when there is no memory for it. Drawn at its device scale, a picture
// loaded at the screen's own pixels stays sharp where GDK_SCALE is 2: a GdkPixbuf would be drawn
// at the layout's pixels and stretched.
cairo_surface_t* SurfaceFromPixels(const PicturePixels& pixels, int scale);

// Packs a picture cell that shows the model's column `model_column` at the start of `column`,
// `side` pixels square in every row, icon or not: a view in fixed-height mode measures its first
// row alone, and the captions line up. Returns the cell, which the column owns.
GtkCellRenderer* PackIconCell(GtkTreeViewColumn* column, int model_column, int side);

class ListIcons {
 public:
  ListIcons() = default;
  ~ListIcons();
  ListIcons(const ListIcons&) = delete;
  ListIcons& operator=(const ListIcons&) = delete;

  // Keeps `picture` (a reference is taken) and returns its number for Set.
  int Add(cairo_surface_t* picture);
  // Row `row` shows picture `icon`; a number Add did not give leaves the row without one.
  void Set(int row, int icon);
  // A row was inserted at `row`: the rows after it keep their pictures.
  void RowInserted(int row);
  // The picture of row `row`, or null; the list keeps it.
  cairo_surface_t* ForRow(int row) const;
  // Whether any picture was added: only then does the list make room for them.
  bool any() const { return !pictures_.empty(); }

 private:
  std::vector<cairo_surface_t*> pictures_;
  std::vector<int> row_icons_;  // by row, -1 for none; rows past its end have none
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_GTK_LIST_ICONS_H_
