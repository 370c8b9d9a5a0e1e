// What Launch on Linux does with a file of a folder on the disk that nobody may execute. One body
// per platform: only POSIX file systems carry the permission.
#ifndef TOLVAR_MENU_CHECK_MODEL_EXECUTE_PERMISSION_H_
#define TOLVAR_MENU_CHECK_MODEL_EXECUTE_PERMISSION_H_

#include <optional>
#include <string>

#include "shared_routines/plain_program.h"

namespace tolvar {

// For the existing file `path` (as the menu file writes it) when nobody may execute it, the menu's
// rule over its first bytes (LaunchWithoutExecuteBit). Nothing when it may be executed, when it
// cannot be read, and always on Windows, whose file systems have no such permission to read.
std::optional<WithoutExecuteBit> ExecuteBitMissing(const std::string& path);

// Whether the files of a folder on this system carry Unix permissions at all: false on Windows,
// where a medium's folder cannot tell whether Linux will find its autostart script executable.
bool FolderKeepsPermissions();

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_MODEL_EXECUTE_PERMISSION_H_
