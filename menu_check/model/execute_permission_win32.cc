// Win32 body of ExecuteBitMissing: Windows file systems keep no execute permission, so there is
// nothing to find.
#include "menu_check/model/execute_permission.h"

namespace tolvar {

std::optional<WithoutExecuteBit> ExecuteBitMissing(const std::string&) { return std::nullopt; }

bool FolderKeepsPermissions() { return false; }

}  // namespace tolvar
