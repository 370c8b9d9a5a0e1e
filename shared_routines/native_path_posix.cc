// POSIX bodies of NativePath and WithPreferredSeparators: backslashes become slashes in the menu
// file's paths, and a path is shown as it is.
#include <algorithm>

#include "shared_routines/native_path.h"

namespace tolvar {

std::string NativePath(const std::string& path) {
  std::string native = path;
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}

std::string WithPreferredSeparators(const std::string& path) { return path; }

}  // namespace tolvar
