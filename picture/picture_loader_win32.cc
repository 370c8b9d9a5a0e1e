// Win32 body of DecodePicture, for the window and the checker alike: whether the bytes may be
// decoded is decided by the header reader before any decoder sees a byte; WIC decodes a JPEG, a
// plain BMP is read here, GDI+ through its flat API, loaded at run time, decodes the rest from
// memory; the pixels are stretched here and handed out. No GDI bitmap is made here (the window
// makes its own), and no decision of what to show belongs here: that is picture_header's.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "picture/bmp_pixels.h"
#include "picture/gdiplus_library.h"
#include "picture/jpeg_decoder.h"
#include "picture/picture_header.h"
#include "picture/picture_loader.h"
#include "picture/pixel_stretch.h"

namespace tolvar {
namespace {

std::string StatusText(Gdiplus::Status status) {
  switch (status) {
    case Gdiplus::FileNotFound:
      return "the file cannot be opened";
    case Gdiplus::Win32Error:
      return "the file cannot be read";
    case Gdiplus::GenericError:
    case Gdiplus::OutOfMemory:
    case Gdiplus::InvalidParameter:
    case Gdiplus::UnknownImageFormat:
      // GDI+ (Windows' or Wine's) answers a damaged or unknown file with any of these.
      return std::string("it is not a picture in a format the menu shows (") +
             kPictureFormatsShown + "), or it is damaged";
    default:
      return "Windows cannot draw it (GDI+ status " + std::to_string(static_cast<int>(status)) +
             ")";
  }
}

Expected<PicturePixels> Failed(Gdiplus::Status status) {
  return Expected<PicturePixels>::Failure(StatusText(status));
}

// The stream GDI+ reads from, released by its owner.
struct Release {
  void operator()(IStream* stream) const { stream->Release(); }
};

// A picture GDI+ decoded, disposed of by its owner.
class GdiplusImage {
 public:
  explicit GdiplusImage(const GdiplusApi& api) : api_(api) {}
  ~GdiplusImage() {
    if (image_ != nullptr) api_.DisposeImage(image_);
  }
  GdiplusImage(const GdiplusImage&) = delete;
  GdiplusImage& operator=(const GdiplusImage&) = delete;

  Gdiplus::GpImage** out() { return &image_; }
  Gdiplus::GpBitmap* bitmap() const { return static_cast<Gdiplus::GpBitmap*>(image_); }

 private:
  const GdiplusApi& api_;
  Gdiplus::GpImage* image_ = nullptr;
};

// GDI+'s decoding: the size it reads checked against the header's, then its pixels, premultiplied,
// stretched with our own filter (GDI+'s smooth stretching takes tens of milliseconds under Wine, a
// noticeable part of the menu's start).
Expected<PicturePixels> DecodeWithGdiplus(const std::string& bytes, const PictureHeader& header,
                                          int width, int height) {
  std::string reason;
  const GdiplusApi* const gdiplus = StartedGdiplus(&reason);
  if (gdiplus == nullptr) return Expected<PicturePixels>::Failure(reason);
  const GdiplusApi& api = *gdiplus;

  const std::unique_ptr<IStream, Release> stream(api.CreateMemStream(
      reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
  if (stream == nullptr) {
    return Expected<PicturePixels>::Failure("no memory is left for the picture's file");
  }
  GdiplusImage image(api);
  const Gdiplus::Status status = api.LoadImageFromStream(stream.get(), image.out());
  if (status != Gdiplus::Ok) return Failed(status);
  // GDI+ has read the header itself, before decoding: a size beyond the one checked is refused.
  UINT decoded_width = 0, decoded_height = 0;
  api.GetImageWidth(image.bitmap(), &decoded_width);
  api.GetImageHeight(image.bitmap(), &decoded_height);
  const Result size = CheckDecoderSize(header, decoded_width, decoded_height);
  if (!size.ok) return Expected<PicturePixels>::Failure(size);
  if (decoded_width == 0 || decoded_height == 0) return Failed(Gdiplus::InvalidParameter);

  const Gdiplus::GpRect whole(0, 0, static_cast<INT>(decoded_width),
                              static_cast<INT>(decoded_height));
  Gdiplus::BitmapData data = {};
  const Gdiplus::Status locked = api.BitmapLockBits(
      image.bitmap(), &whole, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data);
  if (locked != Gdiplus::Ok) return Failed(locked);
  PicturePixels pixels =
      StretchPixels(static_cast<const uint8_t*>(data.Scan0), static_cast<int>(data.Width),
                    static_cast<int>(data.Height), data.Stride, width, height);
  api.BitmapUnlockBits(image.bitmap(), &data);
  return pixels;
}

// JPEG is counted at the size the file declares: Wine's WIC, and GDI+ everywhere, decode it at
// full size; only Windows' own WIC scales while decoding.
constexpr bool kDecoderScalesJpeg = false;

}  // namespace

Expected<PicturePixels> DecodePicture(std::string bytes, int width, int height) {
  const Expected<PictureHeader> checked =
      CheckBeforeDecoding(bytes, width, height, kDecoderScalesJpeg);
  if (!checked) return Expected<PicturePixels>::Failure(checked.reason());
  const PictureHeader header = KeepShownImage(checked.value(), &bytes);

  const bool jpeg =
      header.format == PictureFormat::kJpeg || header.format == PictureFormat::kWholeJpeg;
  std::optional<PicturePixels> decoded;
  if (jpeg) decoded = DecodeJpeg(bytes, width, height);
  if (header.format == PictureFormat::kBmp) decoded = ReadPlainBmp(bytes);
  if (decoded) {
    return StretchPixels(decoded->bytes(), decoded->width, decoded->height, decoded->width * 4,
                         width, height);
  }
  return DecodeWithGdiplus(bytes, header, width, height);
}

}  // namespace tolvar
