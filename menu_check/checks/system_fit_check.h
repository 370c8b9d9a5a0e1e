// Programs listed on a system that cannot run them: a Windows program in the Linux list, a shell
// script in the Windows list. Each system lists every entry without '#system:, so a medium for both
// needs the directive on each program made for one.
#ifndef TOLVAR_MENU_CHECK_CHECKS_SYSTEM_FIT_CHECK_H_
#define TOLVAR_MENU_CHECK_CHECKS_SYSTEM_FIT_CHECK_H_

#include <string>

#include "menu_check/menu_check.h"

namespace tolvar {

// Whether `command` names a file made to run (a Windows program, a shell script, or a file without
// an extension, as Linux programs are named) rather than a document that opens in an application
// for its type. Links and keywords are neither.
bool NamesAProgram(const std::string& command);

// The warning for an entry whose command names a program of one system (.exe, .msi, .com, .bat,
// .cmd for Windows; .sh for Linux, in any letter case) while the entry is listed on the other, for
// the systems in `listed_on` (those of `targets` the entry is listed on); empty when it fits. Links
// and keywords fit everywhere.
std::string OtherSystemsProgram(const std::string& command, const Targets& listed_on);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_CHECKS_SYSTEM_FIT_CHECK_H_
