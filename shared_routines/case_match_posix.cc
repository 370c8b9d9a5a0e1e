// POSIX body of MatchCase: a component-by-component walk that reads a directory only where a name
// is missing as written. Only the walk belongs here; what counts as a file is FileExists' business.
#include <dirent.h>
#include <sys/stat.h>

#include "shared_routines/case_match.h"

namespace tolvar {
namespace {

bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

// Windows folds every letter, but media names are ASCII in practice, and folding bytes of another
// encoding by guess could join names Windows keeps apart. A non-ASCII name that differs in case is
// missed on Linux, never mistaken for another.
bool SameIgnoringAsciiCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return i == a.size() && b[i] == '\0';
}

// The one entry of `directory` ("" for the current one) that is `name` but for letter case; empty
// when there is none or more than one, since picking one of two would be a guess.
std::string UniqueMatch(const std::string& directory, const std::string& name) {
  DIR* listing = opendir(directory.empty() ? "." : directory.c_str());
  if (listing == nullptr) return "";
  std::string found;
  int matches = 0;
  while (const dirent* entry = readdir(listing)) {
    if (SameIgnoringAsciiCase(name, entry->d_name) && ++matches == 1) found = entry->d_name;
  }
  closedir(listing);
  return matches == 1 ? found : "";
}

}  // namespace

std::string MatchCase(const std::string& native) {
  if (native.empty() || native.find('\0') != std::string::npos || Exists(native)) return native;
  std::string matched;
  size_t start = 0;
  while (start <= native.size()) {
    size_t end = native.find('/', start);
    if (end == std::string::npos) end = native.size();
    const std::string part = native.substr(start, end - start);
    // Empty parts (a leading or doubled slash), "." and ".." are no names to look for.
    if (!part.empty() && part != "." && part != ".." && !Exists(matched + part)) {
      const std::string match = UniqueMatch(matched, part);
      if (match.empty()) return native;
      matched += match;
    } else {
      matched += part;
    }
    if (end < native.size()) matched += '/';
    start = end + 1;
  }
  return matched;
}

}  // namespace tolvar
