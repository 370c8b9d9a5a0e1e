// Win32 only: the window's picture area. The window paints the picture itself; when the menu
// describes the picture, a child window covers the area with the description as its text, which
// is where screen readers look for a name. Without a description there is no child, and the
// picture stays decoration that screen readers pass over.
#ifndef TOLVAR_MENU_WINDOW_WIN32_PICTURE_AREA_H_
#define TOLVAR_MENU_WINDOW_WIN32_PICTURE_AREA_H_

#include <windows.h>

#include <string>

#include "picture/picture_loader.h"

namespace tolvar {

class PictureArea {
 public:
  PictureArea() = default;
  PictureArea(const PictureArea&) = delete;
  PictureArea& operator=(const PictureArea&) = delete;

  // Loads the picture for an area of `size` pixels; see SplashPicture::Load.
  Result Load(const std::string& path, SIZE size) {
    return picture_.Load(path, size, GetSysColor(COLOR_BTNFACE));
  }

  // Paints the picture into `area` of the client area of `dc`'s window. In a right-to-left
  // window the area is mirrored, as controls are, but the picture keeps its orientation.
  void Paint(HDC dc, const RECT& area) const;

  // Makes the child that names the picture `text`, over `area` of `parent`, first of the
  // window's children, as the picture is first on screen. It takes no focus and draws the
  // picture itself (owner-drawn: the parent's WM_DRAWITEM calls Paint). False, with the
  // system's error set, when it cannot be made; the picture then stays unnamed.
  bool Describe(HWND parent, HINSTANCE instance, const RECT& area, const std::wstring& text,
                int id);

  // Moves the child, if any, to `area` (a change of DPI).
  void Place(const RECT& area) const;

  // Has the area painted again, the child's part too.
  void Invalidate(HWND parent, const RECT& area) const;

  void Forget() { description_ = nullptr; }  // the window and its children are gone

 private:
  SplashPicture picture_;
  HWND description_ = nullptr;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_WIN32_PICTURE_AREA_H_
