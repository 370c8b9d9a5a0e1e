// ResolvesInside over FinalPath, which follows links (and Windows' junctions) as the system does.
#include "shared_routines/resolves_inside.h"

#include <optional>

#include "shared_routines/case_match.h"
#include "shared_routines/disk_entries.h"
#include "shared_routines/native_path.h"

namespace tolvar {

bool ResolvesInside(const std::string& path, const std::string& root) {
  if (NamesNoLocalFile(path) || path.find('\0') != std::string::npos ||
      root.find('\0') != std::string::npos) {
    return false;
  }
  const std::optional<std::string> file = FinalPath(MatchCase(NativePath(path)));
  if (!file) return false;
  std::optional<std::string> folder = FinalPath(root);
  if (!folder) return false;
  // Whole components, so that "/media/cd-extra/x" is not taken to lie inside "/media/cd"; a root
  // folder ("/", "C:\\") ends in the separator already.
  if (folder->empty() || folder->back() != kFinalPathSeparator) *folder += kFinalPathSeparator;
  return file->size() > folder->size() && file->compare(0, folder->size(), *folder) == 0;
}

}  // namespace tolvar
