// Linux body of DecodePicture, shared by the window and the checker: whether the bytes may be
// decoded is decided by the header reader before GdkPixbuf sees a byte; the loader of the format
// the header names then decodes it, never one GdkPixbuf picks from the content, asked for the
// area's size at once (JPEG scales while decoding), and its pixels are handed out. No GTK here,
// no GdkPixbuf beyond this file, and no decision of what to show: that is picture_header's.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "picture/picture_header.h"
#include "picture/picture_loader.h"

namespace tolvar {
namespace {

struct Request {
  int width;
  int height;
  const PictureHeader* header;  // checked against the budget before decoding
  std::string refusal;          // set when the decoder reads a larger size than the header
};

void AskForSize(GdkPixbufLoader* loader, int width, int height, gpointer data) {
  auto* request = static_cast<Request*>(data);
  request->refusal = CheckDecoderSize(*request->header, static_cast<uint64_t>(std::max(width, 0)),
                                      static_cast<uint64_t>(std::max(height, 0)))
                         .reason;
  // Asking for no pixels at all is how a GdkPixbuf loader is stopped before it decodes.
  if (!request->refusal.empty()) {
    gdk_pixbuf_loader_set_size(loader, 0, 0);
  } else {
    gdk_pixbuf_loader_set_size(loader, request->width, request->height);
  }
}

// GdkPixbuf's name for the loader of `format`.
const char* FormatName(PictureFormat format) {
  switch (format) {
    case PictureFormat::kPng:
      return "png";
    case PictureFormat::kJpeg:
    case PictureFormat::kWholeJpeg:
      return "jpeg";
    case PictureFormat::kGif:
      return "gif";
    case PictureFormat::kBmp:
      return "bmp";
    case PictureFormat::kTiff:
      return "tiff";
    case PictureFormat::kIco:
      return "ico";
  }
  return nullptr;
}

// The GdkPixbuf JPEG decoder reduces by 1/2, 1/4 or 1/8 while decoding when asked for less.
constexpr bool kDecoderScalesJpeg = true;

// Drops a reference GdkPixbuf handed out when it goes out of scope.
struct Unref {
  void operator()(gpointer object) const { g_object_unref(object); }
};
using PixbufHolder = std::unique_ptr<GdkPixbuf, Unref>;
using LoaderHolder = std::unique_ptr<GdkPixbufLoader, Unref>;

// GdkPixbuf's RGB or RGBA bytes, not premultiplied, as premultiplied 0xAARRGGBB pixels.
PicturePixels PixelsOf(GdkPixbuf* picture) {
  PicturePixels pixels;
  pixels.width = gdk_pixbuf_get_width(picture);
  pixels.height = gdk_pixbuf_get_height(picture);
  pixels.pixels.resize(static_cast<size_t>(pixels.width) * pixels.height);
  const int channels = gdk_pixbuf_get_n_channels(picture);
  const bool alpha = gdk_pixbuf_get_has_alpha(picture);
  const int stride = gdk_pixbuf_get_rowstride(picture);
  const guchar* rows = gdk_pixbuf_read_pixels(picture);
  uint32_t* out = pixels.pixels.data();
  for (int y = 0; y < pixels.height; ++y) {
    const guchar* in = rows + static_cast<ptrdiff_t>(y) * stride;
    for (int x = 0; x < pixels.width; ++x, in += channels) {
      const uint32_t a = alpha ? in[3] : 255;
      const auto times_alpha = [a](uint32_t c) { return (c * a + 127) / 255; };
      *out++ =
          (a << 24) | (times_alpha(in[0]) << 16) | (times_alpha(in[1]) << 8) | times_alpha(in[2]);
    }
  }
  return pixels;
}

}  // namespace

Expected<PicturePixels> DecodePicture(std::string bytes, int width, int height) {
  const Expected<PictureHeader> checked =
      CheckBeforeDecoding(bytes, width, height, kDecoderScalesJpeg);
  if (!checked) return Expected<PicturePixels>::Failure(checked.reason());
  const PictureHeader header = KeepShownImage(checked.value(), &bytes);

  // The loader of the format whose header was read, and no other: a loader GdkPixbuf picked from
  // the content could be one whose size nobody checked.
  GError* error = nullptr;
  LoaderHolder loader(gdk_pixbuf_loader_new_with_type(FormatName(header.format), &error));
  if (loader == nullptr) {
    const std::string reason = error->message;
    g_error_free(error);
    return Expected<PicturePixels>::Failure(reason);
  }
  Request request{width, height, &header, std::string()};
  g_signal_connect(loader.get(), "size-prepared", G_CALLBACK(AskForSize), &request);
  const bool fed = gdk_pixbuf_loader_write(
      loader.get(), reinterpret_cast<const guchar*>(bytes.data()), bytes.size(), &error);
  // A loader must be closed even when feeding failed; the first error is the one to tell.
  const bool closed = gdk_pixbuf_loader_close(loader.get(), fed ? &error : nullptr);
  PixbufHolder picture;
  if (fed && closed && request.refusal.empty()) {
    GdkPixbuf* decoded = gdk_pixbuf_loader_get_pixbuf(loader.get());
    if (decoded != nullptr) {
      // Loaders that draw at a size of their own choosing are stretched afterwards.
      picture.reset(gdk_pixbuf_get_width(decoded) == width &&
                            gdk_pixbuf_get_height(decoded) == height
                        ? GDK_PIXBUF(g_object_ref(decoded))
                        : gdk_pixbuf_scale_simple(decoded, width, height, GDK_INTERP_BILINEAR));
    }
  }
  if (picture == nullptr) {
    const std::string reason = !request.refusal.empty() ? request.refusal
                               : error != nullptr       ? error->message
                                                        : "the file holds no picture";
    g_clear_error(&error);
    return Expected<PicturePixels>::Failure(reason);
  }
  g_clear_error(&error);
  return PixelsOf(picture.get());
}

}  // namespace tolvar
