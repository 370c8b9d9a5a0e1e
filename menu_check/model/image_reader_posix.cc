// ReadImageViews with libarchive's ISO 9660 reader, once with each extension switched off, so
// that each system's view of the same image can be seen. All the image's structure is libarchive's
// to read; this file only turns its entries into MediumViews.
#include <archive.h>
#include <archive_entry.h>
#include <locale.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "menu_check/model/image_reader.h"
#include "menu_check/model/iso_extents.h"
#include "menu_check/model/medium_view.h"
#include "menu_check/model/rock_ridge_links.h"
#include "shared_routines/ascii_text.h"

namespace tolvar {
namespace {

// libarchive turns Joliet's UTF-16 names into the text of the thread's locale, and the checker
// runs in the C locale, where every name beyond ASCII fails to convert and arrives as no name at
// all. A UTF-8 locale for this thread alone, while the image is read, makes them arrive as UTF-8
// whatever the user's locale; the checker's own output keeps the locale it has. Rock Ridge and
// plain names are copied as bytes in any locale.
class Utf8NamesWhileReading {
 public:
  Utf8NamesWhileReading() {
    for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
      utf8_ = newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(0));
      if (utf8_ != static_cast<locale_t>(0)) break;
    }
    // Without any UTF-8 locale the names beyond ASCII stay unreadable, and List says so.
    if (utf8_ != static_cast<locale_t>(0)) previous_ = uselocale(utf8_);
  }
  ~Utf8NamesWhileReading() {
    if (utf8_ == static_cast<locale_t>(0)) return;
    uselocale(previous_);
    freelocale(utf8_);
  }
  Utf8NamesWhileReading(const Utf8NamesWhileReading&) = delete;
  Utf8NamesWhileReading& operator=(const Utf8NamesWhileReading&) = delete;

 private:
  locale_t utf8_ = static_cast<locale_t>(0);
  locale_t previous_ = static_cast<locale_t>(0);
};

// How many folders of one name one folder may hold before they count as a loop.
constexpr int kMostFoldersOfOneName = 16;

// One pass over one of the image's trees: libarchive reads Rock Ridge, Joliet or the plain names,
// as its options say.
struct Pass {
  bool rock_ridge;
  bool joliet;
  const char* names;  // which tree it reads, for the reason when a name cannot be read
  // When set, the pass only compares its names, in order, with these, keeps nothing, and stops at
  // the first that differs.
  const MediumView* compare_with = nullptr;
};

struct Listing {
  ByteBudget* budget;
  MediumView view = {};
  std::string format =
      {};            // libarchive's name for what it found, e.g. "ISO9660 with Rockridge ..."
  bool same = true;  // for a comparing pass: the names were those compared with
};

// Linux shows plain ISO 9660 names in lower case (the default map=normal of its iso9660 driver).
std::string AsLinuxMapsPlainNames(std::string name) { return AsciiFolded(std::move(name)); }

// zisofs puts this before a compressed file's bytes, then the uncompressed size, the header's
// size in 4-byte units (4) and the log2 of the block size (15 to 17).
constexpr char kZisofsMagic[] = "\x37\xE4\x53\x96\xC9\xDB\xD6\x07";
constexpr size_t kZisofsHeader = 16;

bool ZisofsHeader(const std::string& bytes) {
  return bytes.size() >= kZisofsHeader && bytes.compare(0, 8, kZisofsMagic, 8) == 0 &&
         bytes[12] == 4 && bytes[13] >= 15 && bytes[13] <= 17;
}

std::string ArchiveError(archive* a, const char* otherwise) {
  return archive_error_string(a) != nullptr ? archive_error_string(a) : otherwise;
}

// The entry's path as the view writes it: no "./", no trailing '/', "." for the root; "" when
// libarchive could not turn the name into text.
std::string ViewPath(archive_entry* entry) {
  const char* raw = archive_entry_pathname(entry);
  if (raw == nullptr || *raw == '\0') return "";
  std::string path = raw;
  while (!path.empty() && path.back() == '/') path.pop_back();
  if (path.rfind("./", 0) == 0) path.erase(0, 2);
  return path.empty() ? "." : path;
}

bool RockRidgeFound(archive* a) {
  const char* format = archive_format_name(a);
  return format != nullptr && std::strstr(format, "Rockridge") != nullptr;
}

// Adds the entry to the listing, with the kept contents of the files the checks read. Through
// a tree that cannot say a file is compressed (without Rock Ridge, libarchive returns the bytes
// as stored), the first bytes tell.
bool Keep(archive* a, archive_entry* entry, std::string path, bool directory, Listing* listing,
          std::string* problem) {
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
    std::string first_path = first;
    if (first_path.rfind("./", 0) == 0) first_path.erase(0, 2);
    listing->view.same_file[name.path] = std::move(first_path);
    listing->view.names.push_back(std::move(name));
    return true;
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
    std::string data(wanted ? static_cast<size_t>(size) : kZisofsHeader, '\0');
    const la_ssize_t got = archive_read_data(a, data.data(), data.size());
    if (got < 0) {
      *problem = ArchiveError(a, "read error");
      return false;
    }
    if (wanted) listing->budget->Give(data.size() - static_cast<size_t>(got));
    data.resize(static_cast<size_t>(got));
    name.compressed = stored_as_is && ZisofsHeader(data);
    if (wanted) listing->view.contents[name.path] = std::move(data);
  }
  listing->view.names.push_back(std::move(name));
  return true;
}

// Reads the tree `pass` names into `listing`, or says why it cannot be read.
using Reader = std::unique_ptr<archive, int (*)(archive*)>;

// libarchive's reader of the image with the extensions given, or null and why not.
Reader Open(const std::string& image, bool rock_ridge, bool joliet, std::string* problem) {
  Reader reader(archive_read_new(), archive_read_free);
  archive* a = reader.get();
  archive_read_support_format_iso9660(a);
  // A null value switches an option off.
  if (!rock_ridge) archive_read_set_format_option(a, "iso9660", "rockridge", nullptr);
  if (!joliet) archive_read_set_format_option(a, "iso9660", "joliet", nullptr);
  if (archive_read_open_filename(a, image.c_str(), 64 * 1024) != ARCHIVE_OK) {
    *problem = ArchiveError(a, "cannot be opened");
    return Reader(nullptr, archive_read_free);
  }
  return reader;
}

bool List(const std::string& image, const Pass& pass, Listing* listing, std::string* problem) {
  const Reader reader = Open(image, pass.rock_ridge, pass.joliet, problem);
  if (reader == nullptr) return false;
  archive* a = reader.get();
  archive_entry* entry;
  int status;
  size_t count = 0;
  // A directory listed again is one its parents lead back to: libarchive would go round it until
  // the entry limit, which a 72 KB image reaches only after half a minute and 1.5 GB. Only the
  // root is never listed twice: two folders of one name in a folder come as the same path, which
  // the names check names, and only a loop brings a path round again and again.
  std::unordered_map<std::string, int> directories;
  while ((status = archive_read_next_header(a, &entry)) == ARCHIVE_OK || status == ARCHIVE_WARN) {
    if (count >= kMostImageEntries) {
      *problem = "it holds more than " + std::to_string(kMostImageEntries) + " entries";
      return false;
    }
    // No name at all is a name libarchive could not turn into text (a Joliet name that is no
    // UTF-16): taken as "", it would become the root, and a folder would seem to lead back to it.
    std::string path = ViewPath(entry);
    if (path.empty()) {
      *problem = std::string("a name in its ") + pass.names + " tree is not text";
      return false;
    }
    const bool directory = archive_entry_filetype(entry) == AE_IFDIR;
    if (directory && ++directories[path] > (path == "." ? 1 : kMostFoldersOfOneName)) {
      *problem = "its directories lead back into themselves (\"" + path + "\" comes again)";
      return false;
    }
    if (path == ".") continue;
    if (pass.compare_with != nullptr) {
      const std::vector<MediumName>& names = pass.compare_with->names;
      if (count >= names.size() || names[count].path != path) {
        listing->same = false;
        return true;
      }
    } else if (!Keep(a, entry, std::move(path), directory, listing, problem)) {
      return false;
    }
    ++count;
  }
  if (status != ARCHIVE_EOF) {
    *problem = ArchiveError(a, "it is broken");
    return false;
  }
  if (pass.compare_with != nullptr) listing->same = count == pass.compare_with->names.size();
  if (archive_format_name(a) != nullptr) listing->format = archive_format_name(a);
  return true;
}

// The files the checks read (the menu file, the autostart files) may be links, which Linux
// follows: the file each such link of the indexed Rock Ridge `view` leads to is read in one more
// pass, made only when there is such a link, and kept once under its own path (see ContentOf),
// however many links lead to it.
bool ReadLinkedContents(const std::string& image, MediumView* view, ByteBudget* budget,
                        std::string* problem) {
  std::unordered_map<std::string, uint64_t> targets;  // how much of each is kept at most
  for (const MediumName& name : view->names) {
    std::string end;
    if (!name.symlink || !WantsContent(name.path) ||
        FollowLink(*view, name.path, &end) != LinkEnd::kFound) {
      continue;
    }
    const std::string& target = view->ContentsPath(end);
    if (view->contents.count(target) != 0) continue;
    const MediumName* file = view->Exact(target);
    if (file == nullptr || file->directory) continue;
    uint64_t& largest = targets[target];
    largest = std::max(largest, LargestKept(name.path));
  }
  if (targets.empty()) return true;
  const Reader reader = Open(image, true, false, problem);
  if (reader == nullptr) return false;
  archive* a = reader.get();
  archive_entry* entry;
  int status;
  while (!targets.empty() &&
         ((status = archive_read_next_header(a, &entry)) == ARCHIVE_OK || status == ARCHIVE_WARN)) {
    const auto wanted = targets.find(ViewPath(entry));
    const int64_t size = archive_entry_size(entry);
    if (wanted == targets.end() || archive_entry_filetype(entry) != AE_IFREG || size < 0 ||
        static_cast<uint64_t>(size) > wanted->second) {
      continue;
    }
    if (!budget->Take(static_cast<uint64_t>(size))) {
      view->contents_left_out.push_back(wanted->first);
      targets.erase(wanted);
      continue;
    }
    std::string data(static_cast<size_t>(size), '\0');
    const la_ssize_t got = archive_read_data(a, data.data(), data.size());
    if (got < 0) {
      *problem = ArchiveError(a, "read error");
      return false;
    }
    budget->Give(data.size() - static_cast<size_t>(got));
    data.resize(static_cast<size_t>(got));
    view->contents[wanted->first] = std::move(data);
    targets.erase(wanted);
  }
  return true;
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

// Why the image's directories cannot be read without a buffer as large as a directory claims to
// be; "" when they can, or when the image cannot be opened (libarchive says why).
std::string CheckExtents(const std::string& image) {
  std::FILE* file = std::fopen(image.c_str(), "rb");
  if (file == nullptr) return "";
  struct stat status;
  std::string problem;
  if (fstat(fileno(file), &status) == 0) {
    problem = DirectoryBeyondTheImage(static_cast<uint64_t>(status.st_size), ReadFromImage, file,
                                      kMostImageEntries, kMostImageEntries);
  }
  std::fclose(file);
  return problem;
}

// The links' targets as Linux reads them from their SL entries, in place of libarchive's, which
// joins two components where a target spans several entries.
void ReadLinkTargetsAsLinux(const std::string& image, MediumView* view) {
  if (view->link_targets.empty()) return;
  std::FILE* file = std::fopen(image.c_str(), "rb");
  if (file == nullptr) return;
  struct stat status;
  if (fstat(fileno(file), &status) == 0) {
    const std::unordered_map<std::string, std::string> targets = RockRidgeLinkTargets(
        static_cast<uint64_t>(status.st_size), ReadFromImage, file, kMostImageEntries);
    for (auto& [link, target] : view->link_targets) {
      const auto read = targets.find(link);
      if (read != targets.end()) target = read->second;
    }
  }
  std::fclose(file);
}

// The plain names as Linux shows them where the image has neither Rock Ridge nor Joliet.
MediumView AsLinuxMapsPlainNames(MediumView view) {
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
  ByteBudget own;
  if (budget == nullptr) budget = &own;
  const std::string beyond = CheckExtents(image);
  if (!beyond.empty()) return Unread(beyond);
  const Utf8NamesWhileReading utf8_names;
  std::string problem;
  Listing linux_listing{budget};
  if (!List(image, {true, false, "Rock Ridge"}, &linux_listing, &problem)) return Unread(problem);
  Listing windows_listing{budget};
  if (!List(image, {false, true, "Joliet"}, &windows_listing, &problem)) return Unread(problem);
  ImageViews views;
  views.rock_ridge = linux_listing.format.find("Rockridge") != std::string::npos;
  if (views.rock_ridge) {
    Listing plain{budget};
    if (!List(image, {false, false, "ISO 9660", &windows_listing.view}, &plain, &problem)) {
      return Unread(problem);
    }
    // Without Joliet, the reader falls back to the plain names.
    views.joliet = !plain.same;
  } else {
    views.joliet = !SameNames(windows_listing.view, linux_listing.view);
  }

  if (views.rock_ridge) {
    views.linux_view = std::move(linux_listing.view);
    views.linux_view.description = "the image as Linux sees it (Rock Ridge names)";
    views.linux_view.tree = MediumView::Tree::kRockRidge;
  } else if (views.joliet) {
    // Linux reads Joliet where Rock Ridge is missing, and without either maps the plain names.
    views.linux_view = windows_listing.view;
    views.linux_view.description = "the image as Linux sees it (Joliet names, no Rock Ridge)";
    views.linux_view.tree = MediumView::Tree::kJoliet;
  } else {
    views.linux_view = AsLinuxMapsPlainNames(std::move(linux_listing.view));
    views.linux_view.description =
        "the image as Linux sees it (plain ISO 9660 names in lower case, no Rock Ridge)";
    views.linux_view.tree = MediumView::Tree::kPlainInLowerCase;
  }
  if (!views.rock_ridge) views.linux_view.modes_known = false;
  views.windows_view = std::move(windows_listing.view);
  views.windows_view.description =
      views.joliet ? "the image as Windows sees it (Joliet names)"
                   : "the image as Windows sees it (plain ISO 9660 names, no Joliet)";
  views.windows_view.modes_known = false;
  views.windows_view.tree = views.joliet ? MediumView::Tree::kJoliet : MediumView::Tree::kPlain;
  if (views.rock_ridge) ReadLinkTargetsAsLinux(image, &views.linux_view);
  views.windows_view.Index();
  views.linux_view.Index();
  FillHardLinks(&views.windows_view);
  FillHardLinks(&views.linux_view);
  if (views.rock_ridge && !ReadLinkedContents(image, &views.linux_view, budget, &problem)) {
    return Unread(problem);
  }
  return views;
}

std::string ReadImageContents(const std::string& image, const MediumView& view,
                              const std::unordered_map<std::string, size_t>& wanted,
                              FileBytes* contents, ByteBudget* budget) {
  ByteBudget own;
  if (budget == nullptr) budget = &own;
  using Tree = MediumView::Tree;
  std::unique_ptr<archive, int (*)(archive*)> reader(archive_read_new(), archive_read_free);
  archive* a = reader.get();
  archive_read_support_format_iso9660(a);
  if (view.tree != Tree::kRockRidge) {
    archive_read_set_format_option(a, "iso9660", "rockridge", nullptr);
  }
  if (view.tree != Tree::kJoliet) archive_read_set_format_option(a, "iso9660", "joliet", nullptr);
  const Utf8NamesWhileReading utf8_names;
  if (archive_read_open_filename(a, image.c_str(), 64 * 1024) != ARCHIVE_OK) {
    return archive_error_string(a) != nullptr ? archive_error_string(a) : "cannot be opened";
  }
  archive_entry* entry;
  int status;
  size_t entries = 0;
  size_t left = wanted.size();
  while (left > 0 && ++entries <= kMostImageEntries &&
         ((status = archive_read_next_header(a, &entry)) == ARCHIVE_OK || status == ARCHIVE_WARN)) {
    const char* raw = archive_entry_pathname(entry);
    if (raw == nullptr || archive_entry_filetype(entry) != AE_IFREG) continue;
    std::string path = raw;
    if (path.rfind("./", 0) == 0) path.erase(0, 2);
    if (view.tree == Tree::kPlainInLowerCase) path = AsLinuxMapsPlainNames(path);
    const auto want = wanted.find(path);
    if (want == wanted.end() || contents->bytes.count(path) != 0 ||
        contents->unreadable.count(path) != 0) {
      continue;
    }
    --left;
    const uint64_t claimed = static_cast<uint64_t>(std::max<int64_t>(archive_entry_size(entry), 0));
    const uint64_t taken = std::min<uint64_t>(want->second, claimed);
    if (!budget->Take(taken)) {
      contents->left_out.insert(path);
      continue;
    }
    // Read in pieces: the size an entry claims is not trusted for the buffer.
    std::string data;
    char piece[64 * 1024];
    la_ssize_t got = 0;
    while (data.size() < taken &&
           (got = archive_read_data(
                a, piece,
                static_cast<size_t>(std::min<uint64_t>(sizeof piece, taken - data.size())))) > 0) {
      data.append(piece, static_cast<size_t>(got));
    }
    budget->Give(taken - std::min<uint64_t>(taken, data.size()));
    if (got < 0) {
      contents->unreadable[path] = ArchiveError(a, "read error");
    } else {
      contents->bytes[path] = std::move(data);
    }
  }
  return "";
}

}  // namespace tolvar
