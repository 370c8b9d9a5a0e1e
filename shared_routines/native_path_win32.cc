// Win32 body of NativePath: the menu file's paths are Windows paths already.
#include "shared_routines/native_path.h"

namespace tolvar {

std::string NativePath(const std::string& path) { return path; }

}  // namespace tolvar
