// The small pictures a menu file adds: an entry's icon in the list and the window's icon. Read
// through the same file reading, header check and decoding budget as the splash picture, for both
// windows and the checker, so that they always agree on what shows.
#ifndef TOLVAR_PICTURE_ICON_PICTURE_H_
#define TOLVAR_PICTURE_ICON_PICTURE_H_

#include <string>

#include "menu_form/result.h"
#include "picture/picture_pixels.h"

namespace tolvar {

// The formats an icon may be in, in words, for authors.
inline constexpr const char* kIconFormats = "ICO, PNG or BMP";

// The picture file `path` (as the menu file writes it) as an icon `side` x `side` pixels, or why
// not: the file cannot be read, is not an ICO, PNG or BMP picture, declares more pixels than the
// budget allows (refused from its header, before anything is decoded), or its decoder fails. Of an
// ICO the largest image is shown, scaled down.
Expected<PicturePixels> LoadIconPicture(const std::string& path, int side);

// The same for a picture file's `bytes`, read already (from an ISO image, by the checker).
Expected<PicturePixels> DecodeIconPicture(std::string bytes, int side);

}  // namespace tolvar

#endif  // TOLVAR_PICTURE_ICON_PICTURE_H_
