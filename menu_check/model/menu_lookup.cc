// FindAsMenu: a path from the menu file made a path of the view once, then looked up by the
// system's own rule.
#include "menu_check/model/menu_lookup.h"

#include <algorithm>
#include <vector>

#include "shared_routines/case_match.h"
#include "shared_routines/directory_lister.h"
#include "shared_routines/wildcard.h"

namespace tolvar {

bool PathInView(const std::string& written, std::string* in_view) {
  if (written.empty() || written[0] == '/' || written[0] == '\\' ||
      (written.size() >= 2 && written[1] == ':')) {
    return false;
  }
  std::string path = written;
  std::replace(path.begin(), path.end(), '\\', '/');
  std::vector<std::string> kept;
  for (const std::string& part : PathComponents(path)) {
    if (part.empty() || part == ".") continue;
    if (part != "..") {
      kept.push_back(part);
    } else if (kept.empty()) {
      return false;
    } else {
      kept.pop_back();
    }
  }
  in_view->clear();
  for (const std::string& part : kept) *in_view += (in_view->empty() ? "" : "/") + part;
  return !in_view->empty();
}

namespace {

const MediumName* Find(const MediumView& view, System system, const std::string& path) {
  return system == System::kWindows ? view.IgnoringCase(path) : view.AsLinuxMenuFinds(path);
}

}  // namespace

const MediumName* OpenAsMenu(const MediumView& view, System system, const std::string& written) {
  std::string path;
  if (!PathInView(written, &path)) return nullptr;
  const MediumName* found = Find(view, system, path);
  return found != nullptr && !found->directory && !found->special ? found : nullptr;
}

const MediumName* FindAsMenu(const MediumView& view, System system, const std::string& written) {
  std::string path;
  if (!PathInView(written, &path)) return nullptr;
  const std::string leaf = LeafOf(path);
  if (!HoldsWildcard(leaf)) return Find(view, system, path);
  // A pattern in the last component: the first file of the folder it matches.
  std::string folder = ParentOf(path);
  if (!folder.empty()) {
    const MediumName* found = Find(view, system, folder);
    if (found == nullptr || !found->directory) return nullptr;
    folder = found->path;
  }
  for (const std::string& name : view.Children(folder)) {
    if (!MatchesWildcard(leaf, name)) continue;
    const MediumName* file = view.Reach(folder.empty() ? name : folder + "/" + name);
    if (file != nullptr && !file->directory && !file->special) return file;
  }
  return nullptr;
}

}  // namespace tolvar
