// FindAsMenu: the one answer to "does the menu find this path on this system", for every check
// that asks it (the menu file's paths, the language files, the parity with the menu's own lookup).
#ifndef TOLVAR_MENU_CHECK_MODEL_MENU_LOOKUP_H_
#define TOLVAR_MENU_CHECK_MODEL_MENU_LOOKUP_H_

#include <string>

#include "menu_check/model/medium_view.h"
#include "menu_form/directive.h"

namespace tolvar {

// The path in a view that the menu file's `written` names ("menu\\a.bmp", "./menu/a.bmp" are
// "menu/a.bmp"); false for an absolute path, or one that leaves the root.
bool PathInView(const std::string& written, std::string* in_view);

// The entry `system`'s menu opens for `written` (a path as the menu file writes it) in `view`,
// through links: Windows ignoring letter case as Windows does, beyond ASCII too; Linux as written,
// or where a component is missing as written, the one name of its folder that differs from it only
// in case. Null when the menu finds nothing there.
const MediumName* FindAsMenu(const MediumView& view, System system, const std::string& written);

// The file `system`'s menu opens by the name `written` (a picture, an icon): as FindAsMenu, but
// with
// '*' and '?' as parts of the name. The menu expands a pattern where it asks whether a file exists,
// and then opens the name as written, which on Windows can hold neither.
const MediumName* OpenAsMenu(const MediumView& view, System system, const std::string& written);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_MODEL_MENU_LOOKUP_H_
