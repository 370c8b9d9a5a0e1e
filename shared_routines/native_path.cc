// DisplayPath, the same on every platform; NativePath has one body per platform
// (native_path_posix.cc, native_path_win32.cc).
#include "shared_routines/native_path.h"

namespace tolvar {

std::string DisplayPath(const std::string& path) {
  std::string native = NativePath(path);
  if (native.size() > 2 && native[0] == '.' && (native[1] == '/' || native[1] == '\\')) {
    native.erase(0, 2);
  }
  return native;
}

}  // namespace tolvar
