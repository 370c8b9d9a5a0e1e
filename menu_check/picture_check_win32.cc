// Win32 body of CheckPicture: GDI+, the loader behind the Windows window, through its flat API.
// GDI+'s headers need the Windows and COM types first; WIN32_LEAN_AND_MEAN leaves the latter out.
// clang-format off
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include "menu_check/picture_check.h"
#include "shared_routines/utf16_win32.h"

namespace tolvar {
namespace {

std::string Reason(Gdiplus::Status status) {
  switch (status) {
    case Gdiplus::GenericError:  // what GDI+ says about bytes it cannot make sense of
    case Gdiplus::OutOfMemory:
    case Gdiplus::InvalidParameter:
    case Gdiplus::UnknownImageFormat:
      return "it is not a picture in a format Windows reads (BMP, GIF, JPEG, PNG, TIFF, ICO, WMF, "
             "EMF)";
    case Gdiplus::FileNotFound:
      return "the file cannot be opened";
    case Gdiplus::Win32Error:
      return "the file cannot be read";
    default:
      return "GDI+ cannot load it (status " + std::to_string(static_cast<int>(status)) + ")";
  }
}

}  // namespace

Result CheckPicture(const std::string& path) {
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
    return Result::Failure("GDI+ cannot be started");
  }
  Gdiplus::GpImage* image = nullptr;
  Gdiplus::Status status = Gdiplus::DllExports::GdipLoadImageFromFile(Widen(path).c_str(), &image);
  if (status == Gdiplus::Ok) {
    // A picture without width has nothing to stretch into the picture area.
    UINT width = 0;
    status = Gdiplus::DllExports::GdipGetImageWidth(image, &width);
    if (status == Gdiplus::Ok && width == 0) status = Gdiplus::InvalidParameter;
    Gdiplus::DllExports::GdipDisposeImage(image);
  }
  Gdiplus::GdiplusShutdown(token);
  return status == Gdiplus::Ok ? Result::Ok() : Result::Failure(Reason(status));
}

}  // namespace tolvar
