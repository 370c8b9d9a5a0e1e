// What the Windows menu's signature in the medium's root means for the people who start it:
// whether it carries its author's signature, intact.
#ifndef TOLVAR_MENU_CHECK_CHECKS_MENU_PROGRAM_CHECK_H_
#define TOLVAR_MENU_CHECK_CHECKS_MENU_PROGRAM_CHECK_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "menu_check/menu_check.h"

namespace tolvar {

// The name of the Windows menu in the medium's root, as the kit has it and autorun.inf names it.
inline constexpr char kWindowsMenuProgram[] = "tolvar-autorun.exe";

// The largest Windows menu whose signature is read: the menu is a few hundred kilobytes, and a
// file far larger is not it (a hostile medium's file is not read whole into memory).
inline constexpr uint64_t kLargestMenuProgram = uint64_t{64} << 20;

// The findings on the signature of the Windows menu whose file holds `bytes`: a note when it is
// unsigned, a warning when its signature cannot be read or no longer matches the file. Nothing
// for a file that is no Windows program: that is not the signature's fault.
void SignatureFindings(std::string_view bytes, std::vector<Finding>* findings);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_CHECKS_MENU_PROGRAM_CHECK_H_
