// Win32 bodies of NativePath and WithPreferredSeparators: the menu file's paths are Windows paths
// already, and slashes are shown as backslashes.
#include <algorithm>

#include "shared_routines/native_path.h"

namespace tolvar {

std::string NativePath(const std::string& path) { return path; }

std::string WithPreferredSeparators(const std::string& path) {
  std::string preferred = path;
  std::replace(preferred.begin(), preferred.end(), '/', '\\');
  return preferred;
}

}  // namespace tolvar
