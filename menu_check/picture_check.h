// Whether a file is a picture the menu could show, found without a window, so that a tool can tell
// an author in advance that the menu would stop at it.
#ifndef TOLVAR_MENU_CHECK_PICTURE_CHECK_H_
#define TOLVAR_MENU_CHECK_PICTURE_CHECK_H_

#include <string>

#include "menu_form/result.h"

namespace tolvar {

// Loads the picture at `path` (as the menu file writes it) with the platform's picture loader, the
// one the menu's window uses, and drops it again. A failure says why in the loader's own words.
Result CheckPicture(const std::string& path);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_PICTURE_CHECK_H_
