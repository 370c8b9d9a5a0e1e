// The folder commands: whether one names a folder of the medium, links (and Windows' junctions)
// followed as the system follows them.
#include "menu_form/folder_command.h"

#include "shared_routines/case_match.h"
#include "shared_routines/disk_entries.h"
#include "shared_routines/native_path.h"
#include "shared_routines/resolves_inside.h"

namespace tolvar {

namespace {

// ".\", "./", ".\.\": the current folder, which is the medium's root, as written. A "\" alone is
// the root of the current drive, which is the medium's only when the medium is a drive.
bool IsMediumRoot(std::string_view command) {
  if (command.empty() || command[0] != '.') return false;
  for (size_t i = 0; i < command.size(); ++i) {
    const char c = command[i];
    if (c == '.' && i + 1 < command.size() && command[i + 1] == '.') return false;
    if (c != '.' && c != '\\' && c != '/') return false;
  }
  return true;
}

}  // namespace

bool AsksForFolder(std::string_view command) {
  return !command.empty() && (command.back() == '\\' || command.back() == '/');
}

bool NamesMediumFolder(const std::string& command) {
  if (!AsksForFolder(command) || command.find('\0') != std::string::npos ||
      NamesNoLocalFile(command)) {
    return false;
  }
  if (!IsFolder(MatchCase(NativePath(command)))) return false;
  return IsMediumRoot(command) || ResolvesInside(command, ".");
}

}  // namespace tolvar
