// Turns the menu file's Windows-style paths into the platform's own, for opening and for messages.
#include "shared_routines/native_path.h"

#include <algorithm>

namespace tolvar {

std::string NativePath(const std::string& path) {
#ifdef _WIN32
  return path;
#else
  std::string native = path;
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
#endif
}

std::string DisplayPath(const std::string& path) {
  std::string native = NativePath(path);
  if (native.size() > 2 && native[0] == '.' && (native[1] == '/' || native[1] == '\\')) {
    native.erase(0, 2);
  }
  return native;
}

}  // namespace tolvar
