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
#include <unordered_set>

#include "menu_check/image_reader.h"
#include "menu_check/iso_extents.h"
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

struct Listing {
  MediumView view;
  std::string format;  // libarchive's name for what it found, e.g. "ISO9660 with Rockridge ..."
};

// Linux shows plain ISO 9660 names in lower case (the default map=normal of its iso9660 driver).
std::string AsLinuxMapsPlainNames(std::string name) { return AsciiFolded(std::move(name)); }

// `names` says which of the image's trees is read, for the reason when a name cannot be.
bool List(const std::string& image, bool rock_ridge, bool joliet, const char* names,
          Listing* listing, std::string* problem) {
  std::unique_ptr<archive, int (*)(archive*)> reader(archive_read_new(), archive_read_free);
  archive* a = reader.get();
  archive_read_support_format_iso9660(a);
  // A null value switches an option off.
  if (!rock_ridge) archive_read_set_format_option(a, "iso9660", "rockridge", nullptr);
  if (!joliet) archive_read_set_format_option(a, "iso9660", "joliet", nullptr);
  if (archive_read_open_filename(a, image.c_str(), 64 * 1024) != ARCHIVE_OK) {
    *problem = archive_error_string(a) != nullptr ? archive_error_string(a) : "cannot be opened";
    return false;
  }
  archive_entry* entry;
  int status;
  // A directory listed twice is one its parents lead back to: libarchive would go round it until
  // the entry limit, which a 72 KB image reaches only after half a minute and 1.5 GB.
  std::unordered_set<std::string> directories;
  while ((status = archive_read_next_header(a, &entry)) == ARCHIVE_OK || status == ARCHIVE_WARN) {
    if (listing->view.names.size() >= kMostImageEntries) {
      *problem = "it holds more than " + std::to_string(kMostImageEntries) + " entries";
      return false;
    }
    // No name at all is a name libarchive could not turn into text (a Joliet name that is no
    // UTF-16): taken as "", it would become the root, and a folder would seem to lead back to it.
    const char* raw = archive_entry_pathname(entry);
    if (raw == nullptr || *raw == '\0') {
      *problem = std::string("a name in its ") + names + " tree is not text";
      return false;
    }
    std::string path = raw;
    while (!path.empty() && path.back() == '/') path.pop_back();
    if (path.rfind("./", 0) == 0) path.erase(0, 2);
    if (path.empty()) path = ".";
    const bool directory = archive_entry_filetype(entry) == AE_IFDIR;
    if (directory && !directories.insert(path).second) {
      *problem = "its directories lead back into themselves (\"" + path + "\" comes again)";
      return false;
    }
    if (path == ".") continue;
    MediumName name;
    name.path = path;
    name.directory = directory;
    name.executable = (archive_entry_perm(entry) & 0111) != 0;
    name.size = static_cast<uint64_t>(std::max<la_int64_t>(archive_entry_size(entry), 0));
    if (!name.directory && WantsContent(path) && archive_entry_size(entry) >= 0 &&
        static_cast<uint64_t>(archive_entry_size(entry)) <= LargestKept(path)) {
      std::string data(static_cast<size_t>(archive_entry_size(entry)), '\0');
      const la_ssize_t got = archive_read_data(a, data.data(), data.size());
      if (got < 0) {
        *problem = archive_error_string(a) != nullptr ? archive_error_string(a) : "read error";
        return false;
      }
      data.resize(static_cast<size_t>(got));
      listing->view.contents[path] = std::move(data);
    }
    listing->view.names.push_back(std::move(name));
  }
  if (status != ARCHIVE_EOF) {
    *problem = archive_error_string(a) != nullptr ? archive_error_string(a) : "it is broken";
    return false;
  }
  if (archive_format_name(a) != nullptr) listing->format = archive_format_name(a);
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
                                      kMostImageEntries);
  }
  std::fclose(file);
  return problem;
}

}  // namespace

ImageViews ReadImageViews(const std::string& image) {
  ImageViews read;
  ImageViews* const views = &read;
  Listing rock_ridge;
  Listing joliet;
  Listing plain;
  std::string problem;
  const std::string beyond = CheckExtents(image);
  if (!beyond.empty()) {
    ImageViews unread;
    unread.problem = beyond;
    return unread;
  }
  const Utf8NamesWhileReading utf8_names;
  if (!List(image, true, false, "Rock Ridge", &rock_ridge, &problem) ||
      !List(image, false, true, "Joliet", &joliet, &problem) ||
      !List(image, false, false, "ISO 9660", &plain, &problem)) {
    ImageViews unread;
    unread.problem = problem.empty() ? "it could not be read" : problem;
    return unread;
  }
  views->rock_ridge = rock_ridge.format.find("Rockridge") != std::string::npos;
  // Without Joliet, the reader falls back to the plain names.
  views->joliet = !SameNames(joliet.view, plain.view);

  views->windows_view = views->joliet ? joliet.view : plain.view;  // a copy: Linux may need it
  views->windows_view.description =
      views->joliet ? "the image as Windows sees it (Joliet names)"
                    : "the image as Windows sees it (plain ISO 9660 names, no Joliet)";
  views->windows_view.modes_known = false;
  views->windows_view.tree = views->joliet ? MediumView::Tree::kJoliet : MediumView::Tree::kPlain;

  if (views->rock_ridge) {
    views->linux_view = std::move(rock_ridge.view);
    views->linux_view.description = "the image as Linux sees it (Rock Ridge names)";
    views->linux_view.tree = MediumView::Tree::kRockRidge;
  } else {
    // Linux reads Joliet where Rock Ridge is missing, and without either maps the plain names.
    if (views->joliet) {
      views->linux_view = std::move(joliet.view);
      views->linux_view.description = "the image as Linux sees it (Joliet names, no Rock Ridge)";
      views->linux_view.tree = MediumView::Tree::kJoliet;
    } else {
      views->linux_view = std::move(plain.view);
      for (MediumName& name : views->linux_view.names) name.path = AsLinuxMapsPlainNames(name.path);
      std::unordered_map<std::string, std::string> contents;
      for (auto& [path, text] : views->linux_view.contents) {
        contents[AsLinuxMapsPlainNames(path)] = std::move(text);
      }
      views->linux_view.contents = std::move(contents);
      views->linux_view.description =
          "the image as Linux sees it (plain ISO 9660 names in lower case, no Rock Ridge)";
      views->linux_view.tree = MediumView::Tree::kPlainInLowerCase;
    }
    views->linux_view.modes_known = false;
  }
  views->windows_view.Index();
  views->linux_view.Index();
  return read;
}

std::string ReadImageContents(const std::string& image, const MediumView& view,
                              const std::unordered_map<std::string, size_t>& wanted,
                              std::unordered_map<std::string, std::string>* contents) {
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
    if (want == wanted.end() || contents->count(path) != 0) continue;
    // Read in pieces: the size an entry claims is not trusted for the buffer.
    std::string data;
    char piece[64 * 1024];
    while (data.size() < want->second) {
      const la_ssize_t got =
          archive_read_data(a, piece, std::min(sizeof piece, want->second - data.size()));
      if (got < 0) {
        return archive_error_string(a) != nullptr ? archive_error_string(a) : "read error";
      }
      if (got == 0) break;
      data.append(piece, static_cast<size_t>(got));
    }
    (*contents)[path] = std::move(data);
    --left;
  }
  return "";
}

}  // namespace tolvar
