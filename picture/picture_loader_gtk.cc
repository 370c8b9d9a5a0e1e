// Linux body of the picture loader, shared by the window and the checker: the file is read whole
// and its declared size checked against the budget before GdkPixbuf sees a byte; the decoder is
// then asked for the area's size at once (JPEG scales while decoding, SVG and WMF draw at it), and
// GdkPixbufLoader's size signal refuses what the header check cannot read. No GTK here.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <string>

#include "menu_form/form_layout.h"
#include "picture/picture_file.h"
#include "picture/picture_header.h"
#include "picture/picture_loader.h"
#include "shared_routines/case_match.h"
#include "shared_routines/native_path.h"

namespace tolvar {
namespace {

struct Request {
  int width;
  int height;
  bool size_checked;    // the header's size was read and checked before decoding
  std::string refusal;  // set when the decoder declares a size over the budget
};

void AskForSize(GdkPixbufLoader* loader, int width, int height, gpointer data) {
  auto* request = static_cast<Request*>(data);
  // A loader that asks before it knows its own size (the metafile loader) says 0 x 0.
  if (width <= 0 || height <= 0) return;
  GdkPixbufFormat* format = gdk_pixbuf_loader_get_format(loader);
  if (!request->size_checked && (format == nullptr || !gdk_pixbuf_format_is_scalable(format))) {
    request->refusal =
        CheckDeclaredSize(static_cast<uint64_t>(width), static_cast<uint64_t>(height));
  }
  gdk_pixbuf_loader_set_size(loader, request->width, request->height);
}

// GdkPixbuf's name for the loader of `format`; null when the header reader does not know it.
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
    case PictureFormat::kUnknown:
      break;
  }
  return nullptr;
}

// The GdkPixbuf JPEG decoder reduces by 1/2, 1/4 or 1/8 while decoding when asked for less.
constexpr bool kDecoderScalesJpeg = true;

}  // namespace

GdkPixbuf* LoadStretchedPicture(const std::string& path, int width, int height,
                                std::string* reason) {
  std::string bytes;
  *reason = ReadPictureFile(MatchCase(NativePath(path)), &bytes);
  if (!reason->empty()) return nullptr;
  const PictureHeader header = ReadPictureHeader(bytes);
  *reason = CheckDecodingBudget(header, width, height, kDecoderScalesJpeg);
  if (!reason->empty()) return nullptr;
  KeepFirstFrame(header, &bytes);

  // A format the header names is decoded by its loader directly: guessing it again would need the
  // desktop's MIME database, which a minimal system may lack.
  const char* type = FormatName(header.format);
  GdkPixbufLoader* loader =
      type != nullptr ? gdk_pixbuf_loader_new_with_type(type, nullptr) : nullptr;
  if (loader == nullptr) loader = gdk_pixbuf_loader_new();
  Request request{width, height, header.format != PictureFormat::kUnknown, std::string()};
  g_signal_connect(loader, "size-prepared", G_CALLBACK(AskForSize), &request);
  GError* error = nullptr;
  const bool fed = gdk_pixbuf_loader_write(loader, reinterpret_cast<const guchar*>(bytes.data()),
                                           bytes.size(), &error);
  // A loader must be closed even when feeding failed; the first error is the one to tell.
  const bool closed = gdk_pixbuf_loader_close(loader, fed ? &error : nullptr);
  GdkPixbuf* picture = nullptr;
  if (fed && closed && request.refusal.empty()) picture = gdk_pixbuf_loader_get_pixbuf(loader);
  if (picture != nullptr) {
    // Loaders that draw at a size of their own choosing are stretched afterwards.
    picture = gdk_pixbuf_get_width(picture) == width && gdk_pixbuf_get_height(picture) == height
                  ? GDK_PIXBUF(g_object_ref(picture))
                  : gdk_pixbuf_scale_simple(picture, width, height, GDK_INTERP_BILINEAR);
  }
  if (picture == nullptr) {
    *reason = !request.refusal.empty() ? request.refusal
              : error != nullptr       ? error->message
                                       : "the file holds no picture";
  }
  g_clear_error(&error);
  g_object_unref(loader);
  return picture;
}

Result CheckPicture(const std::string& path) {
  constexpr PixelRect kArea = ToPixels(kSplashLayout.twips, kDesignDpi);
  std::string reason;
  GdkPixbuf* picture = LoadStretchedPicture(path, kArea.width, kArea.height, &reason);
  if (picture == nullptr) return Result::Failure(reason);
  g_object_unref(picture);
  return Result::Ok();
}

}  // namespace tolvar
