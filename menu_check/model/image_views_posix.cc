// ReadImageViews on Linux: libarchive's ISO 9660 reader run once over each of the image's trees
// (Rock Ridge, Joliet, the plain names), and each system's view built from what it lists. All the
// image's structure is libarchive's to read, but for the checks of iso_extents.cc before it and the
// link targets of rock_ridge_links.cc after it. How files' bytes are read and budgeted belongs in
// image_contents_posix.cc, not here.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "menu_check/model/image_contents.h"
#include "menu_check/model/image_reader.h"
#include "menu_check/model/iso_extents.h"
#include "menu_check/model/medium_view.h"
#include "menu_check/model/rock_ridge_links.h"

namespace tolvar {
namespace {

// How many folders of one name one folder may hold before they count as a loop.
constexpr int kMostFoldersOfOneName = 16;

// One pass over one of the image's trees.
struct Pass {
  MediumView::Tree tree;
  const char* names;  // which tree it reads, for the reason when a name cannot be read
  // When set, the pass only compares its names, in order, with these, keeps nothing, and stops at
  // the first that differs.
  const MediumView* compare_with = nullptr;
};

struct Listing {
  ByteBudget* budget;
  MediumView view = {};
  bool rock_ridge = false;  // libarchive found the Rock Ridge extension
  bool same = true;         // for a comparing pass: the names were those compared with
};

// zisofs puts this before a compressed file's bytes, then the uncompressed size, the header's
// size in 4-byte units (4) and the log2 of the block size (15 to 17).
constexpr char kZisofsMagic[] = "\x37\xE4\x53\x96\xC9\xDB\xD6\x07";
constexpr size_t kZisofsHeader = 16;

bool ZisofsHeader(const std::string& bytes) {
  return bytes.size() >= kZisofsHeader && bytes.compare(0, 8, kZisofsMagic, 8) == 0 &&
         bytes[12] == 4 && bytes[13] >= 15 && bytes[13] <= 17;
}

bool RockRidgeFound(archive* a) {
  const char* format = archive_format_name(a);
  return format != nullptr && std::strstr(format, "Rockridge") != nullptr;
}

// Adds the entry to the listing, with the kept contents of the files the checks read. Through
// a tree that cannot say a file is compressed (without Rock Ridge, libarchive returns the bytes
// as stored), the first bytes tell.
Result Keep(archive* a, archive_entry* entry, std::string path, bool directory, Listing* listing) {
  MediumName name;
  name.path = std::move(path);
  name.directory = directory;
  name.symlink = archive_entry_filetype(entry) == AE_IFLNK;
  name.executable = (archive_entry_perm(entry) & 0111) != 0;
  if (name.symlink && archive_entry_symlink(entry) != nullptr) {
    listing->view.link_targets[name.path] = archive_entry_symlink(entry);
  }
  // libarchive gives each later name of one extent as a hard link to the first, with no size and
  // no bytes of its own: the first stands for it (see FillHardLinks).
  if (const char* first = archive_entry_hardlink(entry); first != nullptr && !directory) {
    listing->view.same_file[name.path] = WithoutDotSlash(first);
    listing->view.names.push_back(std::move(name));
    return Result::Ok();
  }
  const int64_t size = archive_entry_size(entry);
  name.size = static_cast<uint64_t>(std::max<int64_t>(size, 0));
  const bool regular = archive_entry_filetype(entry) == AE_IFREG && size >= 0;
  bool wanted =
      regular && WantsContent(name.path) && static_cast<uint64_t>(size) <= LargestKept(name.path);
  if (wanted && !listing->budget->Take(static_cast<uint64_t>(size))) {
    wanted = false;
    listing->view.contents_left_out.push_back(name.path);
  }
  const bool stored_as_is = !RockRidgeFound(a);
  const bool peek = regular && stored_as_is && static_cast<uint64_t>(size) >= kZisofsHeader;
  if (wanted || peek) {
    const uint64_t most = wanted ? static_cast<uint64_t>(size) : kZisofsHeader;
    EntryBytes read = ReadEntryBytes(a, most);
    if (!read.result.ok) return read.result;
    if (wanted) listing->budget->Give(most - read.bytes.size());
    name.compressed = stored_as_is && ZisofsHeader(read.bytes);
    if (wanted) listing->view.contents[name.path] = std::move(read.bytes);
  }
  listing->view.names.push_back(std::move(name));
  return Result::Ok();
}

// Reads the tree `pass` names into `listing`, or says why it cannot be read.
Result List(const std::string& image, const Pass& pass, Listing* listing) {
  Expected<ImageArchive> reader = OpenTree(image, pass.tree);
  if (!reader) return reader.result();
  archive* a = reader->get();
  archive_entry* entry;
  bool at_end = false;
  size_t count = 0;
  // A directory listed again is one its parents lead back to: libarchive would go round it until
  // the entry limit, which a 72 KB image reaches only after half a minute and 1.5 GB. Only the
  // root is never listed twice: two folders of one name in a folder come as the same path, which
  // the names check names, and only a loop brings a path round again and again.
  std::unordered_map<std::string, int> directories;
  while (NextEntry(a, &entry, &at_end)) {
    if (count >= kMostImageEntries) {
      return Result::Failure("it holds more than " + std::to_string(kMostImageEntries) +
                             " entries");
    }
    // No name at all is a name libarchive could not turn into text (a Joliet name that is no
    // UTF-16): taken as "", it would become the root, and a folder would seem to lead back to it.
    std::string path = ViewPath(entry);
    if (path.empty()) {
      return Result::Failure(std::string("a name in its ") + pass.names + " tree is not text");
    }
    const bool directory = archive_entry_filetype(entry) == AE_IFDIR;
    if (directory && ++directories[path] > (path == "." ? 1 : kMostFoldersOfOneName)) {
      return Result::Failure("its directories lead back into themselves (\"" + path +
                             "\" comes again)");
    }
    if (path == ".") continue;
    if (pass.compare_with != nullptr) {
      const std::vector<MediumName>& names = pass.compare_with->names;
      if (count >= names.size() || names[count].path != path) {
        listing->same = false;
        return Result::Ok();
      }
    } else if (Result kept = Keep(a, entry, std::move(path), directory, listing); !kept.ok) {
      return kept;
    }
    ++count;
  }
  if (!at_end) return Result::Failure(ArchiveError(a, "it is broken"));
  if (pass.compare_with != nullptr) listing->same = count == pass.compare_with->names.size();
  listing->rock_ridge = RockRidgeFound(a);
  return Result::Ok();
}

bool SameNames(const MediumView& a, const MediumView& b) {
  if (a.names.size() != b.names.size()) return false;
  for (size_t i = 0; i < a.names.size(); ++i) {
    if (a.names[i].path != b.names[i].path) return false;
  }
  return true;
}

// Reads from the image file that `context` holds open.
bool ReadFromImage(void* context, uint64_t offset, size_t bytes, std::string* out) {
  std::FILE* file = static_cast<std::FILE*>(context);
  out->resize(bytes);
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 &&
         std::fread(&(*out)[0], 1, bytes, file) == bytes;
}

// Calls `use` with the image's size and the image opened for ReadFromImage; does nothing when the
// image cannot be opened or measured (libarchive then says why).
template <typename Use>
void WithImageFile(const std::string& image, Use use) {
  std::FILE* file = std::fopen(image.c_str(), "rb");
  if (file == nullptr) return;
  struct stat status;
  if (fstat(fileno(file), &status) == 0) use(static_cast<uint64_t>(status.st_size), file);
  std::fclose(file);
}

// Why the image's directories cannot be read without a buffer as large as a directory claims to
// be; "" when they can, or when the image cannot be opened.
std::string CheckExtents(const std::string& image) {
  std::string problem;
  WithImageFile(image, [&problem](uint64_t size, std::FILE* file) {
    problem =
        DirectoryBeyondTheImage(size, ReadFromImage, file, kMostImageEntries, kMostImageEntries);
  });
  return problem;
}

// The links' targets as Linux reads them from their SL entries, in place of libarchive's, which
// joins two components where a target spans several entries.
void ReadLinkTargetsAsLinux(const std::string& image, MediumView* view) {
  if (view->link_targets.empty()) return;
  WithImageFile(image, [view](uint64_t size, std::FILE* file) {
    const std::unordered_map<std::string, std::string> targets =
        RockRidgeLinkTargets(size, ReadFromImage, file, kMostImageEntries);
    for (auto& [link, target] : view->link_targets) {
      const auto read = targets.find(link);
      if (read != targets.end()) target = read->second;
    }
  });
}

// The plain names as Linux shows them where the image has neither Rock Ridge nor Joliet.
MediumView LinuxViewOfPlainNames(MediumView view) {
  for (MediumName& name : view.names) name.path = AsLinuxMapsPlainNames(name.path);
  std::unordered_map<std::string, std::string> contents;
  for (auto& [path, text] : view.contents) contents[AsLinuxMapsPlainNames(path)] = std::move(text);
  view.contents = std::move(contents);
  std::unordered_map<std::string, std::string> same_file;
  for (auto& [path, first] : view.same_file) {
    same_file[AsLinuxMapsPlainNames(path)] = AsLinuxMapsPlainNames(first);
  }
  view.same_file = std::move(same_file);
  return view;
}

// Each later name of a file gets the size and the compression of the first, in an indexed view.
void FillHardLinks(MediumView* view) {
  for (const auto& [path, first_path] : view->same_file) {
    const MediumName* first = view->Exact(first_path);
    const MediumName* later = view->Exact(path);
    if (first == nullptr || later == nullptr) continue;
    MediumName& filled = view->names[static_cast<size_t>(later - view->names.data())];
    filled.size = first->size;
    filled.compressed = first->compressed;
  }
}

ImageViews Unread(std::string problem) {
  ImageViews unread;
  unread.problem = problem.empty() ? "it could not be read" : std::move(problem);
  return unread;
}

}  // namespace

// Each tree is read once and kept only as the view that shows it: Rock Ridge (or, without it, the
// plain names, which libarchive then gives) for Linux, Joliet (or the plain names) for Windows.
// The plain tree is needed only to tell whether there is a Joliet tree, and is compared with it
// name by name rather than kept: the first name that differs ends that pass.
ImageViews ReadImageViews(const std::string& image, ByteBudget* budget) {
  using Tree = MediumView::Tree;
  ByteBudget own;
  if (budget == nullptr) budget = &own;
  const std::string beyond = CheckExtents(image);
  if (!beyond.empty()) return Unread(beyond);
  const Utf8NamesWhileReading utf8_names;
  Listing linux_listing{budget};
  if (Result read = List(image, {Tree::kRockRidge, "Rock Ridge"}, &linux_listing); !read.ok) {
    return Unread(read.reason);
  }
  Listing windows_listing{budget};
  if (Result read = List(image, {Tree::kJoliet, "Joliet"}, &windows_listing); !read.ok) {
    return Unread(read.reason);
  }
  ImageViews views;
  views.rock_ridge = linux_listing.rock_ridge;
  if (views.rock_ridge) {
    Listing plain{budget};
    const Pass compare{Tree::kPlain, "ISO 9660", &windows_listing.view};
    if (Result read = List(image, compare, &plain); !read.ok) return Unread(read.reason);
    // Without Joliet, the reader falls back to the plain names.
    views.joliet = !plain.same;
  } else {
    views.joliet = !SameNames(windows_listing.view, linux_listing.view);
  }

  if (views.rock_ridge) {
    views.linux_view = std::move(linux_listing.view);
    views.linux_view.description = "the image as Linux sees it (Rock Ridge names)";
    views.linux_view.tree = Tree::kRockRidge;
  } else if (views.joliet) {
    // Linux reads Joliet where Rock Ridge is missing, and without either maps the plain names.
    views.linux_view = windows_listing.view;
    views.linux_view.description = "the image as Linux sees it (Joliet names, no Rock Ridge)";
    views.linux_view.tree = Tree::kJoliet;
  } else {
    views.linux_view = LinuxViewOfPlainNames(std::move(linux_listing.view));
    views.linux_view.description =
        "the image as Linux sees it (plain ISO 9660 names in lower case, no Rock Ridge)";
    views.linux_view.tree = Tree::kPlainInLowerCase;
  }
  if (!views.rock_ridge) views.linux_view.modes_known = false;
  views.windows_view = std::move(windows_listing.view);
  views.windows_view.description =
      views.joliet ? "the image as Windows sees it (Joliet names)"
                   : "the image as Windows sees it (plain ISO 9660 names, no Joliet)";
  views.windows_view.modes_known = false;
  views.windows_view.tree = views.joliet ? Tree::kJoliet : Tree::kPlain;
  if (views.rock_ridge) ReadLinkTargetsAsLinux(image, &views.linux_view);
  views.windows_view.Index();
  views.linux_view.Index();
  FillHardLinks(&views.windows_view);
  FillHardLinks(&views.linux_view);
  if (views.rock_ridge) {
    if (Result read = ReadLinkedContents(image, &views.linux_view, budget); !read.ok) {
      return Unread(read.reason);
    }
  }
  return views;
}

}  // namespace tolvar
