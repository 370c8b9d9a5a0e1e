// The picture loader of the Splash area, for both windows and the checker: a picture file named as
// the menu file writes it, read within the decoding budget and stretched to the area without
// keeping proportions, handed out as pixels; each window makes its own bitmap of them. One header;
// picture_loader.cc holds what both platforms share, and the decoding is picture_loader_gtk.cc
// (GdkPixbuf, no GTK) on Linux and picture_loader_win32.cc (WIC, our own BMP reader, GDI+) on
// Windows.
#ifndef TOLVAR_PICTURE_PICTURE_LOADER_H_
#define TOLVAR_PICTURE_PICTURE_LOADER_H_

#include <string>

#include "menu_form/result.h"
#include "picture/picture_pixels.h"

namespace tolvar {

// The picture file `path` (as the menu file writes it) at exactly `width` x `height` pixels, or
// why not: the file cannot be read, is not a picture in a format whose size is read before
// decoding, declares more pixels than the budget allows, or its decoder fails, in the loader's
// own words. The file is closed again before this returns.
Expected<PicturePixels> LoadPicture(const std::string& path, int width, int height);

// The same for a picture file's `bytes`, read already (from an ISO image, by the checker).
Expected<PicturePixels> DecodePicture(std::string bytes, int width, int height);

// Whether the picture `path` shows in the window's picture area at 96 dots per inch: the same load
// the window makes, with the pixels dropped again. For the menu without a display and for the
// checker, which must answer as the window would.
Result CheckPicture(const std::string& path);

// CheckPicture for a picture file's `bytes`: refused over the budget as the file would be.
Result CheckPictureBytes(std::string bytes);

}  // namespace tolvar

#endif  // TOLVAR_PICTURE_PICTURE_LOADER_H_
