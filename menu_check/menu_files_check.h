// CheckMenus: the menu files of a medium, each system's checked in that system's own view of it,
// the findings both systems give said once, then the menu files for other languages.
#ifndef TOLVAR_MENU_CHECK_MENU_FILES_CHECK_H_
#define TOLVAR_MENU_CHECK_MENU_FILES_CHECK_H_

#include <string>

#include "menu_check/menu_check.h"
#include "menu_check/model/medium_files.h"

namespace tolvar {

// The menu file as the check looks it up in a view.
inline constexpr char kMenuFileInView[] = "menu/config.mnu";

// The menu files of `files` for the systems in `targets`, into `report`: menu/config.mnu as each
// system's menu finds it, each checked for its system alone, what both find said once; then the
// language files beside it. `report->checked` is false when no menu file can be read.
void CheckMenus(MediumFiles& files, const std::string& decimal_separator, const Targets& targets,
                CheckReport* report);

// Why the check left a file's bytes unread: the budget of what it keeps of a medium's files.
std::string LeftOutOfTheBudget();

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_MENU_FILES_CHECK_H_
