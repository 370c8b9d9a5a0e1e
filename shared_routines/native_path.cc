// DisplayPath and NamesNoLocalFile, the same on every platform; NativePath has one body per
// platform (native_path_posix.cc, native_path_win32.cc).
#include "shared_routines/native_path.h"

namespace tolvar {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

bool NamesNoLocalFile(std::string_view path) {
  // Windows drops blanks before a path in some of its calls; a blank never starts a medium's path.
  while (!path.empty() && (path.front() == ' ' || path.front() == '\t')) path.remove_prefix(1);
  if (path.size() < 2) return false;
  // Any two separators start a share or a device path: Windows takes "/" for "\" there too.
  if (IsSeparator(path[0]) && IsSeparator(path[1])) return true;
  // "\??\" hands the rest to the object namespace unchanged, "\??\UNC\server" included.
  return path.size() >= 4 && IsSeparator(path[0]) && path[1] == '?' && path[2] == '?' &&
         IsSeparator(path[3]);
}

std::string DisplayPath(const std::string& path) {
  std::string native = NativePath(path);
  if (native.size() > 2 && native[0] == '.' && (native[1] == '/' || native[1] == '\\')) {
    native.erase(0, 2);
  }
  return native;
}

}  // namespace tolvar
