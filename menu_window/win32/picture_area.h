// Win32 only: the window's picture area. It makes its own bitmap (a DIB section) of the pixels the
// picture loader hands out, and the window paints it; when the menu
// describes the picture, a child window covers the area with the description as its text, which
// is where screen readers look for a name. Without a description there is no child, and the
// picture stays decoration that screen readers pass over.
#ifndef TOLVAR_MENU_WINDOW_WIN32_PICTURE_AREA_H_
#define TOLVAR_MENU_WINDOW_WIN32_PICTURE_AREA_H_

#include <windows.h>

#include <string>

#include "menu_form/result.h"

namespace tolvar {

class PictureArea {
 public:
  PictureArea() = default;
  ~PictureArea() { Clear(); }
  PictureArea(const PictureArea&) = delete;
  PictureArea& operator=(const PictureArea&) = delete;

  // Loads the picture file `path` (as the menu file writes it) stretched to `size` pixels, without
  // keeping proportions, over the face colour of buttons where it is transparent. On failure the
  // previous picture is dropped and the reason is returned in words.
  Result Load(const std::string& path, SIZE size);

  // Paints the picture into `area` of the client area of `dc`'s window, stretched if the area has
  // changed size since Load (a move to a monitor with another DPI); nothing when none is loaded.
  // In a right-to-left window the area is mirrored, as controls are, but the picture keeps its
  // orientation.
  void Paint(HDC dc, const RECT& area) const;

  // The bitmap painted (32 bits a pixel, top row first), for tests; null when there is none.
  HBITMAP bitmap() const { return bitmap_; }

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
  void Clear();
  void PaintUnmirrored(HDC dc, const RECT& target) const;

  HBITMAP bitmap_ = nullptr;
  SIZE size_ = {0, 0};
  HWND description_ = nullptr;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_WIN32_PICTURE_AREA_H_
