// Win32 only: loads a picture file (JPEG through WIC; BMP, GIF, PNG, TIFF, ICO, WMF, EMF and any
// JPEG WIC cannot read through GDI+) and draws it once, stretched, into a bitmap of the picture
// area's size that the window then paints.
#ifndef TOLVAR_MENU_WINDOW_WIN32_SPLASH_PICTURE_H_
#define TOLVAR_MENU_WINDOW_WIN32_SPLASH_PICTURE_H_

#include <windows.h>

#include <string>

#include "menu_form/result.h"

namespace tolvar {

class SplashPicture {
 public:
  SplashPicture() = default;
  ~SplashPicture();
  SplashPicture(const SplashPicture&) = delete;
  SplashPicture& operator=(const SplashPicture&) = delete;

  // Draws the picture file at `path` into a `size` bitmap, stretched without keeping proportions,
  // over `background` where the picture is transparent. The file is closed again before this
  // returns. On failure the previous picture is dropped and the reason is returned in words.
  Result Load(const std::wstring& path, SIZE size, COLORREF background);

  // Paints the picture into `target` on `dc`, stretched if the area has changed size since Load
  // (a move to a monitor with another DPI). Nothing when no picture is loaded.
  void Paint(HDC dc, const RECT& target) const;

  bool empty() const { return bitmap_ == nullptr; }
  // The drawn bitmap (32 bits per pixel, top row first), for tests; null when empty.
  HBITMAP bitmap() const { return bitmap_; }

 private:
  void Clear();

  HBITMAP bitmap_ = nullptr;
  SIZE size_ = {0, 0};
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_WIN32_SPLASH_PICTURE_H_
