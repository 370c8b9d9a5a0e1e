// Picture loading for the Splash area on Linux, for the window and the checker alike: any format
// GdkPixbuf has a loader for, stretched to a size without keeping proportions, within the decoding
// budget whatever the file declares.
#ifndef TOLVAR_MENU_WINDOW_GTK_PICTURE_LOADER_H_
#define TOLVAR_MENU_WINDOW_GTK_PICTURE_LOADER_H_

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <string>

#include "menu_form/result.h"

namespace tolvar {

// Loads the picture file at `path` (a native path) at exactly `width` x `height` pixels. Returns
// a new reference, or null with the reason in `reason` when the file cannot be read, is not a
// picture a loader understands, or declares more pixels than the budget allows.
GdkPixbuf* LoadStretchedPicture(const std::string& path, int width, int height,
                                std::string* reason);

// Whether the picture a menu file names (its path as written) shows in the window's picture area at
// 96 dots per inch: the same load the window makes, with the picture dropped again. For the menu
// without a display and for the checker, which must answer as the window would.
Result CheckSplashPicture(const std::string& path);

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_GTK_PICTURE_LOADER_H_
