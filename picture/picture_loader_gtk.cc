// Linux body of the picture loader, shared by the window and the checker: the file is read whole,
// and whether it may be decoded is decided by the header reader before GdkPixbuf sees a byte; the
// loader of the format the header names then decodes it, never one GdkPixbuf picks from the
// content, asked for the area's size at once (JPEG scales while decoding). No GTK here, and no
// decision of what to show: that is picture_header's.
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <string>
#include <utility>

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
  const PictureHeader* header;  // checked against the budget before decoding
  std::string refusal;          // set when the decoder reads a larger size than the header
};

void AskForSize(GdkPixbufLoader* loader, int width, int height, gpointer data) {
  auto* request = static_cast<Request*>(data);
  request->refusal = CheckDecoderSize(*request->header, static_cast<uint64_t>(std::max(width, 0)),
                                      static_cast<uint64_t>(std::max(height, 0)));
  // Asking for no pixels at all is how a GdkPixbuf loader is stopped before it decodes.
  if (!request->refusal.empty()) {
    gdk_pixbuf_loader_set_size(loader, 0, 0);
  } else {
    gdk_pixbuf_loader_set_size(loader, request->width, request->height);
  }
}

// GdkPixbuf's name for the loader of `format`; null for kUnknown, which is never decoded.
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
  return DecodeStretchedPicture(std::move(bytes), width, height, reason);
}

GdkPixbuf* DecodeStretchedPicture(std::string bytes, int width, int height, std::string* reason) {
  const PictureHeader header = ReadPictureHeader(bytes);
  *reason = CheckBeforeDecoding(bytes, header, width, height, kDecoderScalesJpeg);
  if (!reason->empty()) return nullptr;
  KeepFirstFrame(header, &bytes);

  // The loader of the format whose header was read, and no other: a loader GdkPixbuf picked from
  // the content could be one whose size nobody checked.
  GError* error = nullptr;
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type(FormatName(header.format), &error);
  if (loader == nullptr) {
    *reason = error->message;
    g_error_free(error);
    return nullptr;
  }
  Request request{width, height, &header, std::string()};
  g_signal_connect(loader, "size-prepared", G_CALLBACK(AskForSize), &request);
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

namespace {

Result Shown(GdkPixbuf* picture, const std::string& reason) {
  if (picture == nullptr) return Result::Failure(reason);
  g_object_unref(picture);
  return Result::Ok();
}

constexpr PixelRect kArea = ToPixels(kSplashLayout.twips, kDesignDpi);

}  // namespace

Result CheckPicture(const std::string& path) {
  std::string reason;
  GdkPixbuf* picture = LoadStretchedPicture(path, kArea.width, kArea.height, &reason);
  return Shown(picture, reason);
}

Result CheckPictureBytes(std::string bytes) {
  if (bytes.size() > kMaxPictureFileBytes) return Result::Failure(PictureTooLarge());
  std::string reason;
  GdkPixbuf* picture = DecodeStretchedPicture(std::move(bytes), kArea.width, kArea.height, &reason);
  return Shown(picture, reason);
}

}  // namespace tolvar
