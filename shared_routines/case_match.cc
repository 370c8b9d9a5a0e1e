// FindIgnoringCase: the component-by-component walk of MatchCase, portable, over a DirectoryLister.
#include "shared_routines/case_match.h"

namespace tolvar {

std::optional<std::string> FindIgnoringCase(const DirectoryLister& lister, const std::string& path,
                                            CaseRule rule) {
  if (lister.Exists(path)) return path;
  const std::vector<std::string> parts = WindowsComponents(path);
  if (parts.empty()) return std::nullopt;
  std::string matched;
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    if (IsEntryName(part) && !lister.Exists(matched + part)) {
      // Picking one of two names alike would be a guess where Windows' answer is not.
      const DirectoryNames::Alike alike = lister.List(matched).IgnoringCase(
          part, rule == CaseRule::kOnlyMatch ? Folding::kAscii : Folding::kWindows);
      if (alike.count == 0 || (alike.count > 1 && rule == CaseRule::kOnlyMatch)) {
        return std::nullopt;
      }
      matched += alike.first;
    } else {
      matched += part;
    }
    if (i + 1 < parts.size()) matched += '/';
  }
  return matched;
}

}  // namespace tolvar
