// Win32 only: GDI+, looked up at run time and started once for the process. Importing gdiplus.dll
// would load it and the COM libraries it needs at every start, with a picture or without; looking
// it up lets that work run on a second thread while the window is being built.
#ifndef TOLVAR_PICTURE_GDIPLUS_LIBRARY_H_
#define TOLVAR_PICTURE_GDIPLUS_LIBRARY_H_

#include <windows.h>
// WIN32_LEAN_AND_MEAN leaves out the COM types that gdiplus.h uses.
#include <objidl.h>
// Last: it needs both headers above.
#include <gdiplus.h>

#include <string>

namespace tolvar {

// The GDI+ functions the menu uses.
struct GdiplusApi {
  decltype(&Gdiplus::GdiplusStartup) Startup;
  decltype(&Gdiplus::DllExports::GdipLoadImageFromStream) LoadImageFromStream;
  decltype(&Gdiplus::DllExports::GdipDisposeImage) DisposeImage;
  decltype(&Gdiplus::DllExports::GdipGetImageWidth) GetImageWidth;
  decltype(&Gdiplus::DllExports::GdipGetImageHeight) GetImageHeight;
  decltype(&Gdiplus::DllExports::GdipBitmapLockBits) BitmapLockBits;
  decltype(&Gdiplus::DllExports::GdipBitmapUnlockBits) BitmapUnlockBits;
  // shlwapi.dll's: a stream over bytes in memory, which GDI+ decodes from.
  IStream*(WINAPI* CreateMemStream)(const BYTE* bytes, UINT size);
};

// GDI+, loaded and started on the first call: only for a picture that neither WIC (JPEG) nor our
// own reader (plain BMP) reads. Under Wine, loading it takes six libraries, and loading them on a
// second thread while the window is made slowed the window more than it saved. Null when GDI+ (or
// shlwapi.dll) is missing or does not start, with the reason in words in
// `*reason`. GDI+ stays up until the process ends.
const GdiplusApi* StartedGdiplus(std::string* reason);

}  // namespace tolvar

#endif  // TOLVAR_PICTURE_GDIPLUS_LIBRARY_H_
