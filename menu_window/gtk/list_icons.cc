// ListIcons and PixbufFromPixels.
#include "menu_window/gtk/list_icons.h"

#include <cstdint>

namespace tolvar {

GdkPixbuf* PixbufFromPixels(const PicturePixels& pixels) {
  GdkPixbuf* picture = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, pixels.width, pixels.height);
  if (picture == nullptr) return nullptr;
  const int stride = gdk_pixbuf_get_rowstride(picture);
  guchar* rows = gdk_pixbuf_get_pixels(picture);
  for (int y = 0; y < pixels.height; ++y) {
    guchar* out = rows + static_cast<ptrdiff_t>(y) * stride;
    for (int x = 0; x < pixels.width; ++x, out += 4) {
      const uint32_t pixel = pixels.pixels[static_cast<size_t>(y) * pixels.width + x];
      const uint32_t alpha = pixel >> 24;
      // Back from premultiplied: a colour over no alpha at all has no colour left to recover.
      const auto channel = [alpha](uint32_t value) -> guchar {
        return alpha == 0 ? 0 : static_cast<guchar>((value * 255 + alpha / 2) / alpha);
      };
      out[0] = channel((pixel >> 16) & 0xFF);
      out[1] = channel((pixel >> 8) & 0xFF);
      out[2] = channel(pixel & 0xFF);
      out[3] = static_cast<guchar>(alpha);
    }
  }
  return picture;
}

GtkCellRenderer* PackIconCell(GtkTreeViewColumn* column, int model_column, int side) {
  GtkCellRenderer* cell = gtk_cell_renderer_pixbuf_new();
  int x_padding = 0;
  int y_padding = 0;
  gtk_cell_renderer_get_padding(cell, &x_padding, &y_padding);
  gtk_cell_renderer_set_fixed_size(cell, side + 2 * x_padding, side + 2 * y_padding);
  gtk_tree_view_column_pack_start(column, cell, FALSE);
  gtk_tree_view_column_add_attribute(column, cell, "pixbuf", model_column);
  return cell;
}

ListIcons::~ListIcons() {
  for (GdkPixbuf* picture : pictures_) g_object_unref(picture);
}

int ListIcons::Add(GdkPixbuf* picture) {
  pictures_.push_back(GDK_PIXBUF(g_object_ref(picture)));
  return static_cast<int>(pictures_.size()) - 1;
}

void ListIcons::Set(int row, int icon) {
  if (row < 0 || icon < 0 || icon >= static_cast<int>(pictures_.size())) return;
  if (row >= static_cast<int>(row_icons_.size())) row_icons_.resize(row + 1, -1);
  row_icons_[row] = icon;
}

void ListIcons::RowInserted(int row) {
  if (row >= 0 && row < static_cast<int>(row_icons_.size())) {
    row_icons_.insert(row_icons_.begin() + row, -1);
  }
}

GdkPixbuf* ListIcons::ForRow(int row) const {
  if (row < 0 || row >= static_cast<int>(row_icons_.size()) || row_icons_[row] < 0) {
    return nullptr;
  }
  return pictures_[row_icons_[row]];
}

}  // namespace tolvar
