// The checks of a whole medium beside its menu file, each in a file of its own: autorun.inf for
// Windows, the autostart files of Linux desktops, and the names as each system sees them. Each
// appends its findings, with the file they are about, to `findings`.
#ifndef TOLVAR_MENU_CHECK_MEDIUM_CHECKS_H_
#define TOLVAR_MENU_CHECK_MEDIUM_CHECKS_H_

#include <vector>

#include "menu_check/medium_view.h"
#include "menu_check/menu_check.h"

namespace tolvar {

// autorun.inf in the root, as Windows reads it, when there is one.
void CheckAutorunInf(const MediumView& view, std::vector<Finding>* findings);

// .autorun, autorun and autorun.sh in the root, as freedesktop desktops look for them.
void CheckLinuxAutostart(const MediumView& view, std::vector<Finding>* findings);

// Every file and folder name, as the systems in `targets` see them.
void CheckNames(const MediumView& view, const Targets& targets, std::vector<Finding>* findings);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_MEDIUM_CHECKS_H_
