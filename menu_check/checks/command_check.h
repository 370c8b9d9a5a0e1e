// What Launch does with an entry's command on each system, for the checks that name what an
// author cannot have meant: keywords that are not quite keywords, patterns, schemes, paths tied to
// the author's machine, files missing or spelled in another letter case, batch files cmd.exe
// would mangle, programs Linux will not run.
#ifndef TOLVAR_MENU_CHECK_CHECKS_COMMAND_CHECK_H_
#define TOLVAR_MENU_CHECK_CHECKS_COMMAND_CHECK_H_

#include <string>

#include "menu_check/menu_check.h"
#include "menu_check/model/view_probe.h"

namespace tolvar {

// The text Launch shows for a file it cannot find, as the start of a warning.
inline constexpr char kNotFound[] = "Launch says \"Can't find file!!\": ";

// For a command that names a scheme other than a link's ("file:", "ms-msdt:"), which Launch never
// hands to the system: the warning; empty for any other command.
std::string SchemeWarning(const std::string& command);

// What Launch would do with `command`, started with `arguments` (its '#arguments:, "" for none),
// that its author cannot have meant, on the systems in `targets`; empty when none.
std::string CommandWarning(ViewProbe& probe, const std::string& command,
                           const std::string& arguments, const Targets& targets);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_CHECKS_COMMAND_CHECK_H_
