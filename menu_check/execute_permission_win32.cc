// Win32 body of LacksExecutePermission: Windows file systems keep no execute permission, so there
// is nothing to find.
#include "menu_check/execute_permission.h"

namespace tolvar {

bool LacksExecutePermission(const std::string&) { return false; }

bool FolderKeepsPermissions() { return false; }

}  // namespace tolvar
