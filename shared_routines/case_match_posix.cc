// POSIX body of MatchCase: the portable walk over the real file system. Only the walk belongs
// here; what counts as a file is FileExists' business.
#include "shared_routines/case_match.h"

namespace tolvar {

std::string MatchCase(const std::string& native) {
  // A NUL cannot be part of a name; the system would cut the path there.
  if (native.empty() || native.find('\0') != std::string::npos) return native;
  return FindIgnoringCase(DiskDirectories(), native, CaseRule::kOnlyMatch).value_or(native);
}

}  // namespace tolvar
