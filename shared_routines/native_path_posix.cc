// POSIX body of NativePath: backslashes become slashes.
#include <algorithm>

#include "shared_routines/native_path.h"

namespace tolvar {

std::string NativePath(const std::string& path) {
  std::string native = path;
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}

}  // namespace tolvar
