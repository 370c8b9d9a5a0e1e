// ListIcons, PixbufFromPixels and SurfaceFromPixels.
#include "menu_window/gtk/list_icons.h"

#include <cstdint>
#include <cstring>

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

cairo_surface_t* SurfaceFromPixels(const PicturePixels& pixels, int scale) {
  // cairo's ARGB32 is the loader's layout; only its rows may be padded.
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixels.width, pixels.height);
  cairo_surface_flush(surface);
  unsigned char* rows = cairo_image_surface_get_data(surface);
  if (rows == nullptr) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < pixels.height; ++y) {
    std::memcpy(rows + static_cast<ptrdiff_t>(y) * stride,
                &pixels.pixels[static_cast<size_t>(y) * pixels.width],
                static_cast<size_t>(pixels.width) * 4);
  }
  cairo_surface_mark_dirty(surface);
  cairo_surface_set_device_scale(surface, scale, scale);
  return surface;
}

GtkCellRenderer* PackIconCell(GtkTreeViewColumn* column, int model_column, int side) {
  GtkCellRenderer* cell = gtk_cell_renderer_pixbuf_new();
  int x_padding = 0;
  int y_padding = 0;
  gtk_cell_renderer_get_padding(cell, &x_padding, &y_padding);
  gtk_cell_renderer_set_fixed_size(cell, side + 2 * x_padding, side + 2 * y_padding);
  gtk_tree_view_column_pack_start(column, cell, FALSE);
  gtk_tree_view_column_add_attribute(column, cell, "surface", model_column);
  return cell;
}

ListIcons::~ListIcons() {
  for (cairo_surface_t* picture : pictures_) cairo_surface_destroy(picture);
}

int ListIcons::Add(cairo_surface_t* picture) {
  pictures_.push_back(cairo_surface_reference(picture));
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

cairo_surface_t* ListIcons::ForRow(int row) const {
  if (row < 0 || row >= static_cast<int>(row_icons_.size()) || row_icons_[row] < 0) {
    return nullptr;
  }
  return pictures_[row_icons_[row]];
}

}  // namespace tolvar
