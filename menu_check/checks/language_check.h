// The menu files for other languages beside menu\config.mnu, which the medium's check reads as the
// plain one, and the comparison of each with it: the usual mistake is a menu changed in one
// language only.
#ifndef TOLVAR_MENU_CHECK_CHECKS_LANGUAGE_CHECK_H_
#define TOLVAR_MENU_CHECK_CHECKS_LANGUAGE_CHECK_H_

#include <string>
#include <vector>

#include "menu_check/menu_check.h"

namespace tolvar {

// The names among `names` (a menu folder's) that are menu files for a language, sorted, each with
// the warning for one the menu never reads because its <something> is no language tag (empty for
// the others).
struct LanguageFileName {
  std::string name;
  std::string never_read;
};
std::vector<LanguageFileName> LanguageFileNames(std::vector<std::string> names);

// Adds to `report` (the plain menu file's) the findings and directives of `language`, the check of
// the language file `file`, named with it, and where it differs from the plain file on the systems
// in `targets`.
void AddLanguageReport(const CheckReport& language, const std::string& file, const Targets& targets,
                       CheckReport* report);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_CHECKS_LANGUAGE_CHECK_H_
