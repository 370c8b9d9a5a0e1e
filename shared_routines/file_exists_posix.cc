// POSIX body of FileExists: stat for plain paths, a directory scan with MatchesWildcard when the
// last component holds a wildcard, both after MatchCase, so that names match without regard to
// letter case as they do on Windows. POSIX has no hidden or system attribute, so every regular file
// is ordinary.
#include <dirent.h>
#include <sys/stat.h>

#include "shared_routines/case_match.h"
#include "shared_routines/file_exists.h"
#include "shared_routines/native_path.h"
#include "shared_routines/wildcard.h"

namespace tolvar {
namespace {

bool IsRegularFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

bool FileExists(const std::string& path) {
  // A NUL cannot be part of a file name; the C API would silently cut the path there.
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  if (NamesNoLocalFile(path)) return false;
  const std::string native = NativePath(path);

  const size_t slash = native.rfind('/');
  const std::string name = slash == std::string::npos ? native : native.substr(slash + 1);
  if (!HoldsWildcard(name)) return IsRegularFile(MatchCase(native));

  const std::string dir =
      slash == std::string::npos ? "." : MatchCase(native.substr(0, slash)) + "/";
  DIR* listing = opendir(dir.c_str());
  if (listing == nullptr) return false;
  bool found = false;
  while (const dirent* entry = readdir(listing)) {
    const std::string candidate = entry->d_name;
    if (candidate == "." || candidate == "..") continue;
    // The checker matches by the same rule, so that it finds what this menu finds.
    if (!MatchesWildcard(name, candidate)) continue;
    if (IsRegularFile(slash == std::string::npos ? candidate : dir + candidate)) {
      found = true;
      break;
    }
  }
  closedir(listing);
  return found;
}

}  // namespace tolvar
