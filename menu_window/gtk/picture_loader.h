// Picture loading for the Splash area on Linux, for the window and the checker alike: any format
// GdkPixbuf has a loader for, stretched to a size without keeping proportions, within the decoding
// budget whatever the file declares.
#ifndef TOLVAR_MENU_WINDOW_GTK_PICTURE_LOADER_H_
#define TOLVAR_MENU_WINDOW_GTK_PICTURE_LOADER_H_

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <string>

namespace tolvar {

// Loads the picture file at `path` (a native path) at exactly `width` x `height` pixels. Returns
// a new reference, or null with the reason in `reason` when the file cannot be read, is not a
// picture a loader understands, or declares more pixels than the budget allows.
GdkPixbuf* LoadStretchedPicture(const std::string& path, int width, int height,
                                std::string* reason);

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_GTK_PICTURE_LOADER_H_
