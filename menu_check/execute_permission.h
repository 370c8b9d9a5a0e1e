// Whether Linux would refuse to run a program from the medium for want of the execute permission.
// One body per platform: only POSIX file systems carry the permission.
#ifndef TOLVAR_MENU_CHECK_EXECUTE_PERMISSION_H_
#define TOLVAR_MENU_CHECK_EXECUTE_PERMISSION_H_

#include <string>

namespace tolvar {

// True when the existing file `path` (as the menu file writes it) is a program Linux runs, an ELF
// executable or a script, and nobody may execute it. Other files (documents, Windows programs)
// are opened by the desktop or meant for Windows alone. Always false on Windows, whose file
// systems have no such permission to read.
bool LacksExecutePermission(const std::string& path);

// Whether the files of a folder on this system carry Unix permissions at all: false on Windows,
// where a medium's folder cannot tell whether Linux will find its autostart script executable.
bool FolderKeepsPermissions();

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_EXECUTE_PERMISSION_H_
