// Win32 body of the picture loader, for the window and the checker alike: the file is read whole,
// and whether it may be decoded is decided by the header reader before any decoder sees a byte;
// WIC decodes a JPEG, a plain BMP is read here, GDI+ through its flat API, loaded at run time,
// decodes the rest from memory; the picture is stretched into a DIB section that the window
// paints. No decision of what to show belongs here: that is picture_header's.
#include <algorithm>
#include <cstdint>
#include <string>

#include "menu_form/form_layout.h"
#include "picture/bmp_pixels.h"
#include "picture/gdiplus_library.h"
#include "picture/jpeg_decoder.h"
#include "picture/picture_file.h"
#include "picture/picture_header.h"
#include "picture/picture_loader.h"
#include "picture/pixel_stretch.h"

namespace tolvar {
namespace {

uint32_t ToPixel(COLORREF color) {
  return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}

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

// A 32-bit top-down DIB section filled with `background`; `bits` receives its pixels.
HBITMAP CreateCanvas(HDC dc, SIZE size, COLORREF background, uint32_t** bits) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (bitmap == nullptr) return nullptr;
  *bits = static_cast<uint32_t*>(pixels);
  std::fill(*bits, *bits + static_cast<size_t>(size.cx) * size.cy, ToPixel(background));
  return bitmap;
}

// Stretches a bitmap over the canvas with our own filter: GDI+'s and GDI's smooth stretching take
// tens of milliseconds under Wine, a noticeable part of the menu's start. False when GDI+ cannot
// hand out the pixels (a picture too large to convert); GDI+ draws it then.
bool StretchBitmap(const GdiplusApi& api, Gdiplus::GpImage* image, uint32_t* canvas, SIZE size,
                   COLORREF background) {
  UINT width = 0, height = 0;
  api.GetImageWidth(image, &width);
  api.GetImageHeight(image, &height);
  const Gdiplus::GpRect whole(0, 0, static_cast<INT>(width), static_cast<INT>(height));
  Gdiplus::BitmapData data = {};
  auto* bitmap = static_cast<Gdiplus::GpBitmap*>(image);
  if (api.BitmapLockBits(bitmap, &whole, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB,
                         &data) != Gdiplus::Ok) {
    return false;
  }
  StretchPixels(static_cast<const uint8_t*>(data.Scan0), static_cast<int>(data.Width),
                static_cast<int>(data.Height), data.Stride, canvas, size.cx, size.cy,
                ToPixel(background));
  api.BitmapUnlockBits(bitmap, &data);
  return true;
}

// Draws `image` over the whole of `size` on `dc` (whose bitmap is `canvas`).
Gdiplus::Status DrawStretched(const GdiplusApi& api, HDC dc, uint32_t* canvas,
                              Gdiplus::GpImage* image, SIZE size, COLORREF background) {
  Gdiplus::ImageType type = Gdiplus::ImageTypeUnknown;
  api.GetImageType(image, &type);
  if (type == Gdiplus::ImageTypeBitmap && StretchBitmap(api, image, canvas, size, background)) {
    return Gdiplus::Ok;
  }
  // What GDI+ cannot hand out as pixels it draws itself into the whole area.
  Gdiplus::GpGraphics* graphics = nullptr;
  Gdiplus::Status status = api.CreateFromHDC(dc, &graphics);
  if (status != Gdiplus::Ok) return status;
  api.SetInterpolationMode(graphics, Gdiplus::InterpolationModeHighQualityBilinear);
  status = api.DrawImageRectI(graphics, image, 0, 0, size.cx, size.cy);
  api.DeleteGraphics(graphics);
  return status;
}

}  // namespace

SplashPicture::~SplashPicture() { Clear(); }

void SplashPicture::Clear() {
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  size_ = SIZE{0, 0};
}

Result SplashPicture::Load(const std::string& path, SIZE size, COLORREF background) {
  Clear();
  // JPEG is counted at the size the file declares: Wine's WIC, and GDI+ everywhere, decode it at
  // full size; only Windows' own WIC scales while decoding.
  std::string bytes;
  std::string reason = ReadPictureFile(path, &bytes);
  if (!reason.empty()) return Result::Failure(reason);
  const PictureHeader header = ReadPictureHeader(bytes);
  reason = CheckBeforeDecoding(bytes, header, size.cx, size.cy, /*decoder_scales_jpeg=*/false);
  if (!reason.empty()) return Result::Failure(reason);
  KeepFirstFrame(header, &bytes);

  DecodedPixels decoded;
  const bool jpeg =
      header.format == PictureFormat::kJpeg || header.format == PictureFormat::kWholeJpeg;
  if ((jpeg && DecodeJpeg(bytes, size, &decoded)) ||
      (header.format == PictureFormat::kBmp &&
       ReadPlainBmp(bytes, &decoded.width, &decoded.height, &decoded.bytes))) {
    uint32_t* pixels = nullptr;
    // The bitmap is 32 bits a pixel, so no device context is needed to make it.
    bitmap_ = CreateCanvas(nullptr, size, background, &pixels);
    if (bitmap_ == nullptr) return Result::Failure("no memory is left for a picture of this size");
    StretchPixels(decoded.bytes.data(), decoded.width, decoded.height, decoded.width * 4, pixels,
                  size.cx, size.cy, ToPixel(background));
    size_ = size;
    return Result::Ok();
  }

  const GdiplusApi* const gdiplus = StartedGdiplus(&reason);
  if (gdiplus == nullptr) return Result::Failure(reason);
  const GdiplusApi& api = *gdiplus;

  IStream* stream = api.CreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()),
                                        static_cast<UINT>(bytes.size()));
  if (stream == nullptr) return Result::Failure("no memory is left for the picture's file");
  Gdiplus::GpImage* image = nullptr;
  Gdiplus::Status status = api.LoadImageFromStream(stream, &image);
  if (status != Gdiplus::Ok) {
    stream->Release();
    return Result::Failure(StatusText(status));
  }
  // GDI+ has read the header itself, before decoding: a size beyond the one checked is refused.
  UINT width = 0, height = 0;
  api.GetImageWidth(image, &width);
  api.GetImageHeight(image, &height);
  reason = CheckDecoderSize(header, width, height);
  if (reason.empty() && (width == 0 || height == 0)) reason = StatusText(Gdiplus::InvalidParameter);
  if (!reason.empty()) {
    api.DisposeImage(image);
    stream->Release();
    return Result::Failure(reason);
  }

  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  uint32_t* pixels = nullptr;
  HBITMAP canvas = dc != nullptr ? CreateCanvas(dc, size, background, &pixels) : nullptr;
  if (canvas == nullptr) {
    if (dc != nullptr) DeleteDC(dc);
    api.DisposeImage(image);
    stream->Release();
    return Result::Failure("no memory is left for a picture of this size");
  }
  const HGDIOBJ previous = SelectObject(dc, canvas);
  status = DrawStretched(api, dc, pixels, image, size, background);
  SelectObject(dc, previous);
  DeleteDC(dc);
  api.DisposeImage(image);
  stream->Release();
  if (status != Gdiplus::Ok) {
    DeleteObject(canvas);
    return Result::Failure(StatusText(status));
  }
  bitmap_ = canvas;
  size_ = size;
  return Result::Ok();
}

void SplashPicture::Paint(HDC dc, const RECT& target) const {
  if (bitmap_ == nullptr) return;
  const HDC source = CreateCompatibleDC(dc);
  if (source == nullptr) return;
  const HGDIOBJ previous = SelectObject(source, bitmap_);
  const int width = target.right - target.left;
  const int height = target.bottom - target.top;
  if (width == size_.cx && height == size_.cy) {
    BitBlt(dc, target.left, target.top, width, height, source, 0, 0, SRCCOPY);
  } else {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, target.left, target.top, width, height, source, 0, 0, size_.cx, size_.cy,
               SRCCOPY);
  }
  SelectObject(source, previous);
  DeleteDC(source);
}

Result CheckPicture(const std::string& path) {
  // The picture area at 96 dots per inch, as the window asks for it.
  const PixelRect area = ToPixels(kSplashLayout.twips, kDesignDpi);
  SplashPicture picture;
  return picture.Load(path, SIZE{area.width, area.height}, RGB(240, 240, 240));
}

}  // namespace tolvar
