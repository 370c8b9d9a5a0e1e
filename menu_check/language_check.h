// CheckLanguageFiles: the menu files for other languages beside menu\config.mnu, each checked as
// the plain one is, and each compared with it: the usual mistake is a menu changed in one language
// only.
#ifndef TOLVAR_MENU_CHECK_LANGUAGE_CHECK_H_
#define TOLVAR_MENU_CHECK_LANGUAGE_CHECK_H_

#include <string>

#include "menu_check/menu_check.h"

namespace tolvar {

// Adds to `report` (the plain menu file's, of the medium whose root is the current directory) the
// findings of every menu\config.<something>.mnu: its own check, named with its file, and where it
// differs from the plain file in its count, a command, its arguments or its system. A name whose
// <something> is no language tag is never read by the menu: a warning says so.
void CheckLanguageFiles(const std::string& decimal_separator, const Targets& targets,
                        CheckReport* report);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_LANGUAGE_CHECK_H_
