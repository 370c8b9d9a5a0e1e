// The picture loader of the Splash area, for both windows and the checker: a picture file named as
// the menu file writes it, read within the decoding budget and stretched to the area without
// keeping proportions. One header; the body is picture_loader_gtk.cc (GdkPixbuf, no GTK) on Linux
// and picture_loader_win32.cc (WIC, our own BMP reader, GDI+) on Windows. Only the type a window
// draws differs between the two, which is why that part alone is chosen here by platform.
#ifndef TOLVAR_PICTURE_PICTURE_LOADER_H_
#define TOLVAR_PICTURE_PICTURE_LOADER_H_

#ifdef _WIN32
#include <windows.h>
#else
// GdkPixbuf's own forward declaration: what includes this header needs none of GLib's.
typedef struct _GdkPixbuf GdkPixbuf;
#endif

#include <string>

#include "menu_form/result.h"

namespace tolvar {

// Whether the picture `path` (as the menu file writes it) shows in the window's picture area at 96
// dots per inch: the same load the window makes, with the picture dropped again. For the menu
// without a display and for the checker, which must answer as the window would. A failure says
// why in the loader's own words.
Result CheckPicture(const std::string& path);

#ifdef _WIN32

class SplashPicture {
 public:
  SplashPicture() = default;
  ~SplashPicture();
  SplashPicture(const SplashPicture&) = delete;
  SplashPicture& operator=(const SplashPicture&) = delete;

  // Draws the picture file `path` (as the menu file writes it) into a `size` bitmap, stretched
  // without keeping proportions, over `background` where the picture is transparent. The file is
  // closed again before this returns. On failure the previous picture is dropped and the reason is
  // returned in words.
  Result Load(const std::string& path, SIZE size, COLORREF background);

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

#else

// Loads the picture file `path` (as the menu file writes it) at exactly `width` x `height` pixels.
// Returns a new reference, or null with the reason in `reason` when the file cannot be read, is
// not a picture a loader understands, or declares more pixels than the budget allows.
GdkPixbuf* LoadStretchedPicture(const std::string& path, int width, int height,
                                std::string* reason);

// The same for a picture file's `bytes`, read already (from an ISO image, by the checker).
GdkPixbuf* DecodeStretchedPicture(std::string bytes, int width, int height, std::string* reason);

// CheckPicture for a picture file's `bytes`: refused over the budget as the file would be.
Result CheckPictureBytes(std::string bytes);

#endif

}  // namespace tolvar

#endif  // TOLVAR_PICTURE_PICTURE_LOADER_H_
