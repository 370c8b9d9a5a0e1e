// The size of a Windows icon, read from its directory and from each of its images' own headers
// before any decoder sees them. Plain C++: part of the header reader (picture_header.h), which
// words its refusals.
#ifndef TOLVAR_PICTURE_ICON_HEADER_H_
#define TOLVAR_PICTURE_ICON_HEADER_H_

#include <string_view>

#include "menu_form/result.h"
#include "picture/picture_header.h"

namespace tolvar {

// The header of the icon in `bytes` (which start with an icon's signature): the size of its
// largest image, the one shown, and where that image lies. Fails, saying why in a few words, when
// the directory or an image is cut short, when an image's own header declares another size than
// the directory (at most 256 x 256), or when the images together exceed the decoding budget.
Expected<PictureHeader> ReadIconHeader(std::string_view bytes);

}  // namespace tolvar

#endif  // TOLVAR_PICTURE_ICON_HEADER_H_
