// The folder commands: whether one names a folder of the medium, through std::filesystem, which
// follows links (and Windows' junctions) the same way on every platform.
#include "menu_form/folder_command.h"

#include <filesystem>
#include <system_error>

#include "shared_routines/case_match.h"
#include "shared_routines/native_path.h"
#include "shared_routines/resolves_inside.h"

namespace tolvar {

bool AsksForFolder(std::string_view command) {
  return !command.empty() && (command.back() == '\\' || command.back() == '/');
}

bool NamesMediumFolder(const std::string& command) {
  namespace fs = std::filesystem;
  if (!AsksForFolder(command) || command.find('\0') != std::string::npos ||
      NamesNoLocalFile(command)) {
    return false;
  }
  std::error_code error;
  const fs::path folder = fs::u8path(MatchCase(NativePath(command)));
  if (!fs::is_directory(folder, error)) return false;
  return ResolvesInside(command, ".") || fs::equivalent(folder, ".", error);
}

}  // namespace tolvar
