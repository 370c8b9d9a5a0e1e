// Picture loading through a GdkPixbufLoader fed from the file, as gdk_pixbuf_new_from_file_at_scale
// does, but tolerant of loaders that ask for a size before they know their own (the metafile
// loader), which that function answers with a critical warning.
#include "menu_window/gtk/picture_loader.h"

#include <cerrno>
#include <cstdio>
#include <memory>

namespace tolvar {
namespace {

struct Size {
  int width;
  int height;
};

void AskForSize(GdkPixbufLoader* loader, int width, int height, gpointer wanted) {
  if (width <= 0 || height <= 0) return;
  const Size* size = static_cast<const Size*>(wanted);
  gdk_pixbuf_loader_set_size(loader, size->width, size->height);
}

// Feeds the whole file to `loader`; false with `error` set when reading or decoding fails.
bool Feed(GdkPixbufLoader* loader, const std::string& path, GError** error) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) {
    g_set_error(error, G_FILE_ERROR, g_file_error_from_errno(errno), "%s", g_strerror(errno));
    return false;
  }
  guchar buffer[64 * 1024];
  size_t length;
  while ((length = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    if (!gdk_pixbuf_loader_write(loader, buffer, length, error)) return false;
  }
  if (std::ferror(file.get())) {
    g_set_error(error, G_FILE_ERROR, G_FILE_ERROR_IO, "the file cannot be read");
    return false;
  }
  return true;
}

}  // namespace

GdkPixbuf* LoadStretchedPicture(const std::string& path, int width, int height,
                                std::string* reason) {
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
  Size wanted{width, height};
  g_signal_connect(loader, "size-prepared", G_CALLBACK(AskForSize), &wanted);
  GError* error = nullptr;
  const bool fed = Feed(loader, path, &error);
  // A loader must be closed even when feeding failed; the first error is the one to tell.
  const bool closed = gdk_pixbuf_loader_close(loader, fed ? &error : nullptr);
  GdkPixbuf* picture = nullptr;
  if (fed && closed) picture = gdk_pixbuf_loader_get_pixbuf(loader);
  if (picture != nullptr) {
    // Loaders that draw at a size of their own choosing are stretched afterwards.
    picture = gdk_pixbuf_get_width(picture) == width && gdk_pixbuf_get_height(picture) == height
                  ? GDK_PIXBUF(g_object_ref(picture))
                  : gdk_pixbuf_scale_simple(picture, width, height, GDK_INTERP_BILINEAR);
  }
  if (picture == nullptr) {
    *reason = error != nullptr ? error->message : "the file holds no picture";
  }
  g_clear_error(&error);
  g_object_unref(loader);
  return picture;
}

}  // namespace tolvar
