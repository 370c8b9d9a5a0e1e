// The check of a whole medium, the same whether it is a folder on the disk or an ISO image: each
// system's own menu file checked in that system's view, the findings of both merged, the menu
// files for other languages, then autorun.inf, the Linux autostart files and the names.
#ifndef TOLVAR_MENU_CHECK_MEDIUM_CHECK_H_
#define TOLVAR_MENU_CHECK_MEDIUM_CHECK_H_

#include <string>
#include <vector>

#include "menu_check/menu_check.h"
#include "menu_check/menu_files_check.h"
#include "menu_check/model/medium_files.h"

namespace tolvar {

// What starts the menu when the medium comes in (autorun.inf, the Linux autostart files), the
// Windows menu's signature and every name, as the systems in `targets` see them.
void CheckAroundMenus(MediumFiles& files, const Targets& targets, std::vector<Finding>* findings);

// Checks the medium whose root is the current directory, for both systems whatever the host:
// CheckMenus, then CheckAroundMenus, and where the menu looks for its file when the root has none.
// The menu files' findings come first, file by file in line order, then the others.
CheckReport CheckMedium(const std::string& decimal_separator, const Targets& targets);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_MEDIUM_CHECK_H_
