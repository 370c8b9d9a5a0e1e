// ResolvesInside through std::filesystem, which follows links (and Windows' junctions) the same
// way on every platform.
#include "shared_routines/resolves_inside.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "shared_routines/case_match.h"
#include "shared_routines/native_path.h"

namespace tolvar {

bool ResolvesInside(const std::string& path, const std::string& root) {
  namespace fs = std::filesystem;
  if (NamesNoLocalFile(path)) return false;
  std::error_code error;
  const fs::path file = fs::canonical(fs::u8path(MatchCase(NativePath(path))), error);
  if (error) return false;
  const fs::path folder = fs::canonical(fs::u8path(root), error);
  if (error) return false;
  // Whole components, so that "/media/cd-extra/x" is not taken to lie inside "/media/cd".
  const auto [in_folder, in_file] =
      std::mismatch(folder.begin(), folder.end(), file.begin(), file.end());
  return in_folder == folder.end() && in_file != file.end();
}

}  // namespace tolvar
