// Win32 body of SplashPicture: GDI+ through its flat API, drawing into a DIB section.
#include <windows.h>
// WIN32_LEAN_AND_MEAN leaves out the COM types that gdiplus.h uses.
#include <objidl.h>
// Last: it needs both headers above.
#include <gdiplus.h>

#include <memory>
#include <string>

#include "menu_window/win32/splash_picture.h"

namespace tolvar {
namespace {

namespace gp = Gdiplus::DllExports;

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
      return "it is not a picture in a format Windows can read (BMP, GIF, JPEG, PNG, TIFF, ICO, "
             "WMF or EMF)";
    default:
      return "Windows cannot draw it (GDI+ status " + std::to_string(static_cast<int>(status)) +
             ")";
  }
}

struct ImageDeleter {
  void operator()(Gdiplus::GpImage* image) const { gp::GdipDisposeImage(image); }
};
struct GraphicsDeleter {
  void operator()(Gdiplus::GpGraphics* graphics) const { gp::GdipDeleteGraphics(graphics); }
};
struct AttributesDeleter {
  void operator()(Gdiplus::GpImageAttributes* attributes) const {
    gp::GdipDisposeImageAttributes(attributes);
  }
};

// A 32-bit top-down DIB section filled with `background`.
HBITMAP CreateCanvas(HDC dc, SIZE size, COLORREF background) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return nullptr;
  const DWORD pixel =
      (GetRValue(background) << 16) | (GetGValue(background) << 8) | GetBValue(background);
  DWORD* pixels = static_cast<DWORD*>(bits);
  for (long i = 0; i < static_cast<long>(size.cx) * size.cy; ++i) pixels[i] = pixel;
  return bitmap;
}

Gdiplus::Status DrawStretched(HDC dc, Gdiplus::GpImage* image, SIZE size) {
  Gdiplus::GpGraphics* raw_graphics = nullptr;
  Gdiplus::Status status = gp::GdipCreateFromHDC(dc, &raw_graphics);
  if (status != Gdiplus::Ok) return status;
  std::unique_ptr<Gdiplus::GpGraphics, GraphicsDeleter> graphics(raw_graphics);
  gp::GdipSetInterpolationMode(raw_graphics, Gdiplus::InterpolationModeHighQualityBicubic);
  gp::GdipSetPixelOffsetMode(raw_graphics, Gdiplus::PixelOffsetModeHalf);

  Gdiplus::ImageType type = Gdiplus::ImageTypeUnknown;
  gp::GdipGetImageType(image, &type);
  if (type != Gdiplus::ImageTypeBitmap) {
    // A metafile: drawn from its own frame into the whole area.
    return gp::GdipDrawImageRectI(raw_graphics, image, 0, 0, size.cx, size.cy);
  }
  UINT width = 0, height = 0;
  gp::GdipGetImageWidth(image, &width);
  gp::GdipGetImageHeight(image, &height);
  // Mirrored tiling at the borders keeps the stretched picture's edges from fading to transparent.
  Gdiplus::GpImageAttributes* raw_attributes = nullptr;
  gp::GdipCreateImageAttributes(&raw_attributes);
  std::unique_ptr<Gdiplus::GpImageAttributes, AttributesDeleter> attributes(raw_attributes);
  if (raw_attributes != nullptr) {
    gp::GdipSetImageAttributesWrapMode(raw_attributes, Gdiplus::WrapModeTileFlipXY, 0, FALSE);
  }
  return gp::GdipDrawImageRectRectI(raw_graphics, image, 0, 0, size.cx, size.cy, 0, 0,
                                    static_cast<INT>(width), static_cast<INT>(height),
                                    Gdiplus::UnitPixel, raw_attributes, nullptr, nullptr);
}

}  // namespace

SplashPicture::~SplashPicture() {
  Clear();
  if (gdiplus_token_ != 0) Gdiplus::GdiplusShutdown(gdiplus_token_);
}

void SplashPicture::Clear() {
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  size_ = SIZE{0, 0};
}

Result SplashPicture::StartGdiplus() {
  if (gdiplus_token_ != 0) return Result::Ok();
  Gdiplus::GdiplusStartupInput input;
  input.GdiplusVersion = 1;
  input.DebugEventCallback = nullptr;
  input.SuppressBackgroundThread = FALSE;
  input.SuppressExternalCodecs = FALSE;
  const Gdiplus::Status status = Gdiplus::GdiplusStartup(&gdiplus_token_, &input, nullptr);
  if (status != Gdiplus::Ok) {
    gdiplus_token_ = 0;
    return Result::Failure("the picture library GDI+ cannot start (status " +
                           std::to_string(static_cast<int>(status)) + ")");
  }
  return Result::Ok();
}

Result SplashPicture::Load(const std::wstring& path, SIZE size, COLORREF background) {
  Clear();
  const Result started = StartGdiplus();
  if (!started.ok) return started;

  // GDI+ keeps the file open as long as the image lives; the image lives only inside this call.
  Gdiplus::GpImage* raw_image = nullptr;
  Gdiplus::Status status = gp::GdipLoadImageFromFile(path.c_str(), &raw_image);
  if (status != Gdiplus::Ok) return Result::Failure(StatusText(status));
  std::unique_ptr<Gdiplus::GpImage, ImageDeleter> image(raw_image);

  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  if (dc == nullptr) return Result::Failure("no drawing surface is left for the picture");
  HBITMAP canvas = CreateCanvas(dc, size, background);
  if (canvas == nullptr) {
    DeleteDC(dc);
    return Result::Failure("no memory is left for a picture of this size");
  }
  const HGDIOBJ previous = SelectObject(dc, canvas);
  status = DrawStretched(dc, raw_image, size);
  SelectObject(dc, previous);
  DeleteDC(dc);
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

}  // namespace tolvar
