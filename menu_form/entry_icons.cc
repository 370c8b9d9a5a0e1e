// LoadEntryIcons: each icon file once, within the limit, in the order the entries name them.
#include "menu_form/entry_icons.h"

#include <string>
#include <unordered_map>

#include "shared_routines/file_exists.h"
#include "shared_routines/native_path.h"

namespace tolvar {

bool PictureFileUsable(std::string_view path) {
  if (path.empty() || path == kNullKeyword || NamesNoLocalFile(path)) return false;
  return FileExists(std::string(path));
}

std::vector<ShownIcon> LoadEntryIcons(MenuView& view, const std::vector<MenuEntry>& entries) {
  std::vector<ShownIcon> shown;
  // The view's number for each file tried; -1 for one that cannot be shown, which is not tried
  // again.
  std::unordered_map<std::string_view, int> loaded;
  for (size_t j = 0; j < entries.size(); ++j) {
    const EntryDirectives* directives = entries[j].Directives;
    if (directives == nullptr || directives->Icon.empty()) continue;
    const std::string_view path = directives->Icon;
    auto found = loaded.find(path);
    if (found == loaded.end()) {
      if (loaded.size() >= kMostListIconFiles) continue;
      int icon = -1;
      if (PictureFileUsable(path)) {
        const Expected<int> made = view.LoadListIcon(std::string(path));
        if (made) icon = made.value();
      }
      found = loaded.emplace(path, icon).first;
    }
    if (found->second >= 0) shown.push_back(ShownIcon{static_cast<int>(j + 1), found->second});
  }
  return shown;
}

}  // namespace tolvar
