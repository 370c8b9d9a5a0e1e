// Win32 body of MatchCase: Windows' file system already ignores letter case, so every path is
// opened as written. Nothing else belongs here.
#include "shared_routines/case_match.h"

namespace tolvar {

std::string MatchCase(const std::string& native) { return native; }

}  // namespace tolvar
