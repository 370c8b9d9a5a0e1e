// Win32 only: decodes a JPEG through the Windows Imaging Component to a picture no larger than it
// needs to be for the area it is shown in. GDI+ decodes a JPEG at full size into 32-bit pixels and
// keeps copies: half a gigabyte and seconds for a camera photo.
#ifndef TOLVAR_PICTURE_JPEG_DECODER_H_
#define TOLVAR_PICTURE_JPEG_DECODER_H_

#include <optional>
#include <string>

#include "picture/picture_pixels.h"

namespace tolvar {

// Decodes the JPEG in `bytes`, reduced by the largest of 1/2, 1/4 and 1/8 that leaves at least
// `area_width` x `area_height` (the decoder scales while decoding where it can; where it decodes
// at full size, blocks of pixels are averaged as they are copied out, so no full-size 32-bit copy
// is ever made). None when WIC is missing or cannot read the file: no failure yet, the caller then
// tries GDI+, which read every JPEG the menu showed before WIC was used, and says why it fails if
// it does.
std::optional<PicturePixels> DecodeJpeg(const std::string& bytes, int area_width, int area_height);

}  // namespace tolvar

#endif  // TOLVAR_PICTURE_JPEG_DECODER_H_
