// MediumView: a medium's files and folders as one system sees them, from a folder on the disk or
// from an ISO image, so that the same checks run on both.
#ifndef TOLVAR_MENU_CHECK_MODEL_MEDIUM_VIEW_H_
#define TOLVAR_MENU_CHECK_MODEL_MEDIUM_VIEW_H_

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "shared_routines/case_match.h"
#include "shared_routines/directory_lister.h"

namespace tolvar {

struct MediumName {
  std::string path;  // relative to the root, components joined by '/'
  bool directory = false;
  bool executable = false;  // any execute permission; meaningful only when modes_known
  uint64_t size = 0;        // in bytes, for files
  bool symlink = false;     // a symbolic link (Rock Ridge); its target is in link_targets
  // What this system reads is zisofs-compressed bytes: an image's file compressed for Rock Ridge
  // readers, read through a tree that cannot say so (Joliet, plain ISO 9660).
  bool compressed = false;
  // A device, a FIFO or a socket in a folder: the menu counts it as no file.
  bool special = false;
};

class MediumView {
 public:
  // The files, folders and symbolic links below `root` on the disk, each link kept as a link with
  // its target, as an image's Rock Ridge tree keeps it, so that the lookups follow it as Linux
  // does and never out of the medium.
  static MediumView FromFolder(const std::string& root);

  // "" for a folder; for an image, how the system sees it, e.g. "Linux (Rock Ridge names)".
  std::string description;
  // False where the medium keeps no permissions (an image without Rock Ridge).
  bool modes_known = true;
  // Where the names come from, so that files' contents can be read from the same tree again.
  enum class Tree { kFolder, kRockRidge, kJoliet, kPlain, kPlainInLowerCase };
  Tree tree = Tree::kFolder;
  std::vector<MediumName> names;  // in the order they were found
  // The contents of the small files in the root that the checks read (autorun.inf, the Linux
  // autostart files, the menu file in any case), by path; see WantsContent.
  std::unordered_map<std::string, std::string> contents;
  // The target of each symbolic link, as written in the link, by the link's path.
  std::unordered_map<std::string, std::string> link_targets;
  // Names an image gives as hard links (the same extent) to an earlier name, by that name: the
  // file is read and kept once, under the earlier name.
  std::unordered_map<std::string, std::string> same_file;
  // The files WantsContent names, or that its files link to, whose contents were not kept: an
  // image's check keeps a bounded number of bytes in all (kImageBytesKept).
  std::vector<std::string> contents_left_out;

  // Call after adding to `names`.
  void Index();

  // The entry `path` names exactly, or null.
  const MediumName* Exact(const std::string& path) const;
  // As Windows finds it: every component without regard to letter case, beyond ASCII too.
  const MediumName* IgnoringCase(const std::string& path) const;
  // As the Linux menu finds it: components missing as written match the one entry of their folder
  // that differs only in case (MatchCase's own walk, over this view's folders).
  const MediumName* AsLinuxMenuFinds(const std::string& path) const;
  // Both lookups give the entry a path leads to, through the view's symbolic links as Linux
  // follows them (a link to a folder lists the folder's names). This is how `path` is spelled on
  // the way there under `rule`, before any link is followed ("Programs/setup.sh" for
  // "programs/setup.sh" through the link Programs -> Programs-1.2); nothing when it leads nowhere.
  std::optional<std::string> Spelled(const std::string& path, CaseRule rule) const;
  // The entry the path spelled exactly leads to, through links: nothing when it leads nowhere.
  const MediumName* Reach(const std::string& path) const;
  // The names directly in folder `directory` ("" for the root).
  const std::vector<std::string>& Children(const std::string& directory) const;
  // The kept contents of the file `path` leads to, through links as Linux follows them; null when
  // none are kept.
  const std::string* ContentOf(const std::string& path) const;
  // The name whose contents stand for the file `path` (an entry's own path, or the first name of
  // its hard links).
  const std::string& ContentsPath(const std::string& path) const;

 private:
  std::unordered_map<std::string, size_t> by_path_;
  std::unordered_map<std::string, DirectoryNames> folders_;  // by path, "" for the root
  // Every path is looked up once per view: a menu of thousands of entries asks about each path
  // several times, for each of its language files, and each lookup through links walks every
  // folder on the way. By index in `names` (kNowhere when it leads nowhere), which survives a
  // copy of the view; bounded, and emptied by Index.
  static constexpr size_t kNowhere = ~size_t{0};
  mutable std::unordered_map<std::string, size_t> reached_;
  mutable std::unordered_map<std::string, std::optional<std::string>> spelled_[2];
};

enum class LinkEnd { kFound, kMissing, kLoop, kOutside };

// Where the link at `link` (an indexed view's path) leads, walking each component as Linux does: a
// link met on the way is replaced by its target, ".." climbs from where the walk has got to, and
// more than 40 links is a loop. `end` is the path found (kFound), or the first not found
// (kMissing). An absolute target leads out of the medium: the image is all the checker reads.
LinkEnd FollowLink(const MediumView& view, const std::string& link, std::string* end);

// The same walk for a path from the view's root, through any links on the way, as Linux opens
// it: `end` is the path of what it reaches, in the view.
LinkEnd FollowPath(const MediumView& view, const std::string& path, std::string* end);

// A view's path ('/' between components) without its last component ("" in the root), and that
// component alone.
std::string ParentOf(const std::string& path);
std::string LeafOf(const std::string& path);

// True for the files whose contents MediumView keeps: autorun.inf, .autorun, autorun, autorun.sh
// in the root and menu/config.mnu and the language files beside it (menu/config.de.mnu), each in
// any letter case, up to 1 MiB (the menu files up to LargestKept).
bool WantsContent(const std::string& path);
inline constexpr size_t kLargestKeptFile = 1 << 20;
// How much of the file `path` that WantsContent names is kept: the menu file up to the largest
// the menu reads (an image's checks read it from here), the others up to kLargestKeptFile.
uint64_t LargestKept(const std::string& path);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_MODEL_MEDIUM_VIEW_H_
