// Paths in the menu file that work on the author's machine and fail on the user's: in quotes, on a
// drive letter, from a root, or out of the medium. The menu takes every path relative to the
// medium's root, whose drive letter or mount point differs from one machine to the next.
#ifndef TOLVAR_MENU_CHECK_CHECKS_PATH_HINT_H_
#define TOLVAR_MENU_CHECK_CHECKS_PATH_HINT_H_

#include <string>

namespace tolvar {

// What goes wrong with `written` on the user's machine, ending in `consequence` (what the menu
// does then, e.g. "no picture is shown"), and how to write it instead; empty when the path is an
// ordinary one inside the medium.
std::string PathHint(const std::string& written, const std::string& consequence);

// The finding for the menu file or a language file at `path`, a link that leads out of the medium:
// the menu does not read it, and the checker shows none of it.
std::string MenuFileLeavesMedium(const std::string& path);

// The finding for a link the menu opens, or "" when the menu opens it as written: a mailto: link's
// attachments, which the menu drops.
std::string LinkHint(const std::string& link);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_CHECKS_PATH_HINT_H_
