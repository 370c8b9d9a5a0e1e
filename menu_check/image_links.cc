// FollowLink: a symbolic link of an image's Linux view followed within the view.
#include "menu_check/image_links.h"

#include <algorithm>
#include <deque>
#include <utility>

#include "shared_routines/directory_lister.h"

namespace tolvar {
namespace {

// Linux gives up on a path after this many links (ELOOP).
constexpr int kMostLinksFollowed = 40;

void AppendParts(const std::string& path, std::deque<std::string>* parts) {
  for (std::string& part : PathComponents(path)) parts->push_back(std::move(part));
}

// Walks `todo` on from the folder `done` (components from the root).
LinkEnd Walk(const MediumView& view, std::deque<std::string> done, std::deque<std::string> todo,
             std::string* end) {
  int links = 0;
  while (!todo.empty()) {
    const std::string part = todo.front();
    todo.pop_front();
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (done.empty()) return LinkEnd::kOutside;  // past the medium's root, into the mount's
      done.pop_back();
      continue;
    }
    std::string path;
    for (const std::string& at : done) path += at + "/";
    path += part;  // the walk so far
    const MediumName* name = view.Exact(path);
    if (name == nullptr) {
      *end = path;
      return LinkEnd::kMissing;
    }
    if (name->symlink) {
      if (++links > kMostLinksFollowed) return LinkEnd::kLoop;
      const auto target = view.link_targets.find(path);
      if (target == view.link_targets.end() || target->second.empty()) {
        *end = path;
        return LinkEnd::kMissing;
      }
      if (target->second[0] == '/') return LinkEnd::kOutside;
      std::deque<std::string> parts;
      AppendParts(target->second, &parts);
      todo.insert(todo.begin(), parts.begin(), parts.end());
      continue;
    }
    if (!todo.empty() && !name->directory) {
      *end = path + "/";
      return LinkEnd::kMissing;
    }
    done.push_back(part);
  }
  std::string found;
  for (const std::string& at : done) found += (found.empty() ? "" : "/") + at;
  *end = found;
  return LinkEnd::kFound;
}

}  // namespace

LinkEnd FollowLink(const MediumView& view, const std::string& link, std::string* end) {
  std::deque<std::string> todo;
  std::deque<std::string> done;
  AppendParts(ParentOf(link), &done);
  if (done.size() == 1 && done.front().empty()) done.clear();
  AppendParts(link.substr(link.rfind('/') + 1), &todo);
  return Walk(view, std::move(done), std::move(todo), end);
}

LinkEnd FollowPath(const MediumView& view, const std::string& path, std::string* end) {
  std::deque<std::string> todo;
  AppendParts(path, &todo);
  return Walk(view, {}, std::move(todo), end);
}

}  // namespace tolvar
