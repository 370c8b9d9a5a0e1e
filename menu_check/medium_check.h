// CheckMedium: the whole medium in a folder, its menu file and everything around it that decides
// whether the menu starts and finds its files on each system.
#ifndef TOLVAR_MENU_CHECK_MEDIUM_CHECK_H_
#define TOLVAR_MENU_CHECK_MEDIUM_CHECK_H_

#include <string>

#include "menu_check/menu_check.h"

namespace tolvar {

// Checks the medium whose root is the current directory: CheckMenu, then autorun.inf, the Linux
// autostart files and every name, for the systems in `targets`. The menu file's findings come
// first, in line order, then the others, file by file.
CheckReport CheckMedium(const std::string& decimal_separator, const Targets& targets);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_MEDIUM_CHECK_H_
