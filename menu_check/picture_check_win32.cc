// Win32 body of CheckPicture: the window's own picture loader, at the picture area's size.
#include "menu_check/picture_check.h"
#include "menu_form/form_layout.h"
#include "menu_window/win32/splash_picture.h"
#include "shared_routines/utf16_win32.h"

namespace tolvar {

Result CheckPicture(const std::string& path) {
  // The picture area at 96 dots per inch, as the window asks for it.
  const PixelRect area = ToPixels(kSplashLayout.twips, kDesignDpi);
  SplashPicture picture;
  return picture.Load(Widen(path), SIZE{area.width, area.height}, RGB(240, 240, 240));
}

}  // namespace tolvar
