// Reads the pixels of a plain BMP file (uncompressed, 1, 4, 8 or 24 bits a pixel: what Paint
// saves) without GDI+: under Wine, starting GDI+ loads six libraries, much of the time the menu
// takes to show a picture. Plain C++, so that it can be fuzzed anywhere.
#ifndef TOLVAR_PICTURE_BMP_PIXELS_H_
#define TOLVAR_PICTURE_BMP_PIXELS_H_

#include <optional>
#include <string_view>

#include "picture/picture_pixels.h"

namespace tolvar {

// The picture in `bytes`, opaque. None for any other BMP (compressed, 16 or 32 bits, an old OS/2
// header) and for a file that does not hold every byte its header promises: that is no failure,
// GDI+ reads it then, or says why not. The caller has checked the declared size against the
// decoding budget.
std::optional<PicturePixels> ReadPlainBmp(std::string_view bytes);

}  // namespace tolvar

#endif  // TOLVAR_PICTURE_BMP_PIXELS_H_
