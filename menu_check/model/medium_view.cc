// MediumView from a folder on the disk, and the lookups the checks make in it.
#include "menu_check/model/medium_view.h"

#include <deque>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "menu_form/language_files.h"
#include "picture/picture_file.h"
#include "shared_routines/ascii_text.h"
#include "shared_routines/case_match.h"
#include "shared_routines/text_input.h"

namespace tolvar {
namespace {

namespace fs = std::filesystem;

// A path as the walk builds it ("./menu/", "a//b") as a path of the view ("menu", "a/b").
std::string InView(const std::string& path) {
  std::string view_path;
  for (const std::string& part : PathComponents(path)) {
    if (!part.empty() && part != ".") view_path += (view_path.empty() ? "" : "/") + part;
  }
  return view_path;
}

// The view's folders behind the interface the letter-case walk reads.
class ViewDirectories : public DirectoryLister {
 public:
  ViewDirectories(const MediumView& view,
                  const std::unordered_map<std::string, DirectoryNames>& folders)
      : view_(view), folders_(folders) {}

  // Through links, as the disk answers: a link to a folder lists the folder's names.
  bool Exists(const std::string& path) const override {
    return view_.Reach(InView(path)) != nullptr;
  }
  const DirectoryNames& List(const std::string& directory) const override {
    static const DirectoryNames kNone;
    const std::string in_view = InView(directory);
    const MediumName* folder = in_view.empty() ? nullptr : view_.Reach(in_view);
    if (!in_view.empty() && (folder == nullptr || !folder->directory)) return kNone;
    const auto found = folders_.find(in_view.empty() ? in_view : folder->path);
    return found == folders_.end() ? kNone : found->second;
  }

 private:
  const MediumView& view_;
  const std::unordered_map<std::string, DirectoryNames>& folders_;
};

}  // namespace

// menu/config.mnu, or a menu file for a language (menu/config.de.mnu), in any letter case.
bool IsMenuFile(const std::string& path) {
  const std::string folded = AsciiFolded(path);
  if (folded == "menu/config.mnu") return true;
  return folded.rfind("menu/", 0) == 0 && folded.find('/', 5) == std::string::npos &&
         !LanguageOfMenuFileName(folded.substr(5)).empty();
}

std::string ParentOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash);
}

std::string LeafOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WantsContent(const std::string& path) {
  const std::string folded = AsciiFolded(path);
  return folded == "autorun.inf" || folded == ".autorun" || folded == "autorun" ||
         folded == "autorun.sh" || IsMenuFile(path);
}

uint64_t LargestKept(const std::string& path) {
  return IsMenuFile(path) ? kLargestTextFile : kLargestKeptFile;
}

MediumView MediumView::FromFolder(const std::string& root) {
  MediumView view;
#ifdef _WIN32
  view.modes_known = false;  // Windows file systems keep no execute bits to read
#endif
  std::error_code error;
  const fs::path base = fs::u8path(root.empty() ? "." : root);
  for (fs::recursive_directory_iterator
           it(base, fs::directory_options::skip_permission_denied, error),
       end;
       !error && it != end; it.increment(error)) {
    MediumName name;
    name.path = it->path().lexically_relative(base).generic_u8string();
    std::error_code ignored;
    const fs::file_status status = it->symlink_status(ignored);
    if (fs::is_symlink(status)) {
      name.symlink = true;
      view.link_targets[name.path] = fs::read_symlink(it->path(), ignored).generic_u8string();
      view.names.push_back(std::move(name));
      continue;
    }
    name.directory = fs::is_directory(status);
    name.special = !name.directory && !fs::is_regular_file(status);
    if (fs::is_regular_file(status)) name.size = it->file_size(ignored);
    name.executable = (status.permissions() & (fs::perms::owner_exec | fs::perms::group_exec |
                                               fs::perms::others_exec)) != fs::perms::none;
    view.names.push_back(std::move(name));
  }
  view.Index();
  // The files the checks read whole, reached through links too (menu/config.mnu may be one), each
  // read as the menu reads its files: a device or a file of /proc named like one is skipped.
  for (const MediumName& name : view.names) {
    if (!WantsContent(name.path)) continue;
    const MediumName* file = view.Reach(name.path);
    if (file == nullptr || file->directory || file->special ||
        file->size > LargestKept(name.path) || view.contents.count(file->path) != 0) {
      continue;
    }
    Expected<std::string> bytes =
        ReadFileHead((base / fs::u8path(file->path)).u8string(), LargestKept(name.path) + 1);
    if (bytes && bytes->size() <= LargestKept(name.path)) {
      view.contents[file->path] = std::move(bytes).value();
    }
  }
  return view;
}

void MediumView::Index() {
  by_path_.clear();
  folders_.clear();
  reached_.clear();
  for (auto& spelled : spelled_) spelled.clear();
  by_path_.reserve(names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    by_path_.emplace(names[i].path, i);
    folders_[ParentOf(names[i].path)].Add(LeafOf(names[i].path));
  }
}

const MediumName* MediumView::Exact(const std::string& path) const {
  const auto found = by_path_.find(path);
  return found == by_path_.end() ? nullptr : &names[found->second];
}

// Folder by folder, as Windows walks a path: a view of a million names keeps no second index of
// every path folded, and only the folders a lookup passes through are folded, once.
const MediumName* MediumView::IgnoringCase(const std::string& path) const {
  if (const MediumName* exact = Exact(path); exact != nullptr && !exact->symlink) return exact;
  const std::optional<std::string> found = Spelled(path, CaseRule::kFirstMatch);
  return found ? Reach(*found) : nullptr;
}

const MediumName* MediumView::AsLinuxMenuFinds(const std::string& path) const {
  const std::optional<std::string> found = Spelled(path, CaseRule::kOnlyMatch);
  return found ? Reach(*found) : nullptr;
}

namespace {

// How many answers of one kind a view keeps: far more than a menu of 32,766 entries asks for,
// and bounded for a file that names millions of paths.
constexpr size_t kMostRemembered = 1 << 17;

template <typename Map>
void MakeRoom(Map* remembered) {
  if (remembered->size() >= kMostRemembered) remembered->clear();
}

}  // namespace

std::optional<std::string> MediumView::Spelled(const std::string& path, CaseRule rule) const {
  auto& remembered = spelled_[rule == CaseRule::kFirstMatch];
  if (const auto known = remembered.find(path); known != remembered.end()) return known->second;
  const std::optional<std::string> found =
      FindIgnoringCase(ViewDirectories(*this, folders_), path, rule);
  MakeRoom(&remembered);
  return remembered.emplace(path, found ? std::optional(InView(*found)) : std::nullopt)
      .first->second;
}

const MediumName* MediumView::Reach(const std::string& path) const {
  const MediumName* exact = Exact(path);
  // Most media hold no link: the walk is needed only where one may be on the way.
  if (link_targets.empty() ||
      (exact != nullptr && !exact->symlink && path.find("..") == std::string::npos)) {
    return exact;
  }
  if (const auto known = reached_.find(path); known != reached_.end()) {
    return known->second == kNowhere ? nullptr : &names[known->second];
  }
  std::string end;
  const MediumName* found = FollowPath(*this, path, &end) == LinkEnd::kFound ? Exact(end) : nullptr;
  MakeRoom(&reached_);
  reached_.emplace(path, found == nullptr ? kNowhere : static_cast<size_t>(found - names.data()));
  return found;
}

const std::string* MediumView::ContentOf(const std::string& path) const {
  if (const auto kept = contents.find(ContentsPath(path)); kept != contents.end()) {
    return &kept->second;
  }
  const MediumName* file = Reach(path);
  if (file == nullptr) return nullptr;
  const auto kept = contents.find(ContentsPath(file->path));
  return kept == contents.end() ? nullptr : &kept->second;
}

const std::string& MediumView::ContentsPath(const std::string& path) const {
  const auto first = same_file.find(path);
  return first == same_file.end() ? path : first->second;
}

const std::vector<std::string>& MediumView::Children(const std::string& directory) const {
  static const std::vector<std::string> kNone;
  const auto found = folders_.find(directory);
  return found == folders_.end() ? kNone : found->second.names();
}

// The link walk: Linux opens a path component by component, replacing each link met by its
// target.
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
