// FindIgnoringCase: the component-by-component walk of MatchCase, portable, over a DirectoryLister.
#include "shared_routines/case_match.h"

namespace tolvar {

std::optional<std::string> FindIgnoringCase(const DirectoryLister& lister, const std::string& path,
                                            CaseRule rule) {
  if (lister.Exists(path)) return path;
  std::string matched;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    // Empty parts (a leading or doubled slash), "." and ".." are no names to look for.
    if (!part.empty() && part != "." && part != ".." && !lister.Exists(matched + part)) {
      // Picking one of two names alike would be a guess where Windows' answer is not.
      const DirectoryNames::Alike alike = lister.List(matched).IgnoringCase(part);
      if (alike.count == 0 || (alike.count > 1 && rule == CaseRule::kOnlyMatch)) {
        return std::nullopt;
      }
      matched += alike.first;
    } else {
      matched += part;
    }
    if (end < path.size()) matched += '/';
    start = end + 1;
  }
  return matched;
}

}  // namespace tolvar
