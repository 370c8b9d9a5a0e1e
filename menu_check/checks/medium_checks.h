// The checks of a whole medium beside its menu file, each in a file of its own: autorun.inf for
// Windows, the autostart files of Linux desktops, and the names as each system sees them. Each
// appends its findings, with the file they are about, to `findings`.
#ifndef TOLVAR_MENU_CHECK_CHECKS_MEDIUM_CHECKS_H_
#define TOLVAR_MENU_CHECK_CHECKS_MEDIUM_CHECKS_H_

#include <vector>

#include "menu_check/menu_check.h"
#include "menu_check/model/medium_view.h"

namespace tolvar {

// autorun.inf in the root, as Windows reads it, when there is one. True when it names a program
// for Windows to start (open= or shellexecute=).
bool CheckAutorunInf(const MediumView& view, std::vector<Finding>* findings);

// .autorun, autorun and autorun.sh in the root, as freedesktop desktops look for them. True when
// there is one for desktops to offer.
bool CheckLinuxAutostart(const MediumView& view, std::vector<Finding>* findings);

// The note for the systems in `targets` on which nothing starts the menu when the medium comes
// in, from what CheckAutorunInf and CheckLinuxAutostart answered.
void NoteWhatNothingStarts(bool windows_starts, bool linux_starts, const Targets& targets,
                           std::vector<Finding>* findings);

// Every file and folder name, as the systems in `targets` see them.
void CheckNames(const MediumView& view, const Targets& targets, std::vector<Finding>* findings);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_CHECKS_MEDIUM_CHECKS_H_
