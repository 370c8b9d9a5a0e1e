// Reading an image's files with libarchive on Linux, within the checker's ByteBudget: the bytes the
// checks ask for (ReadImageContents), the files the kept links lead to, and the pieces both halves
// of the image reader use. Which names a view shows belongs in image_views_posix.cc, not here.
#include <algorithm>
#include <string>
#include <unordered_map>
#include <utility>

#include "menu_check/model/image_contents.h"
#include "menu_check/model/image_reader.h"

namespace tolvar {

Utf8NamesWhileReading::Utf8NamesWhileReading() {
  for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
    utf8_ = newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(0));
    if (utf8_ != static_cast<locale_t>(0)) break;
  }
  // Without any UTF-8 locale the names beyond ASCII stay unreadable, and the listing says so.
  if (utf8_ != static_cast<locale_t>(0)) previous_ = uselocale(utf8_);
}

Utf8NamesWhileReading::~Utf8NamesWhileReading() {
  if (utf8_ == static_cast<locale_t>(0)) return;
  uselocale(previous_);
  freelocale(utf8_);
}

Expected<ImageArchive> OpenTree(const std::string& image, MediumView::Tree tree) {
  ImageArchive reader(archive_read_new(), archive_read_free);
  archive* a = reader.get();
  archive_read_support_format_iso9660(a);
  // A null value switches an option off.
  if (tree != MediumView::Tree::kRockRidge) {
    archive_read_set_format_option(a, "iso9660", "rockridge", nullptr);
  }
  if (tree != MediumView::Tree::kJoliet) {
    archive_read_set_format_option(a, "iso9660", "joliet", nullptr);
  }
  if (archive_read_open_filename(a, image.c_str(), 64 * 1024) != ARCHIVE_OK) {
    return Expected<ImageArchive>::Failure(ArchiveError(a, "cannot be opened"));
  }
  return Expected<ImageArchive>(std::move(reader));
}

std::string ArchiveError(archive* a, const char* otherwise) {
  return archive_error_string(a) != nullptr ? archive_error_string(a) : otherwise;
}

bool NextEntry(archive* a, archive_entry** entry, bool* at_end) {
  const int status = archive_read_next_header(a, entry);
  if (at_end != nullptr) *at_end = status == ARCHIVE_EOF;
  return status == ARCHIVE_OK || status == ARCHIVE_WARN;
}

std::string WithoutDotSlash(std::string path) {
  if (path.rfind("./", 0) == 0) path.erase(0, 2);
  return path;
}

std::string ViewPath(archive_entry* entry) {
  const char* raw = archive_entry_pathname(entry);
  if (raw == nullptr || *raw == '\0') return "";
  std::string path = raw;
  while (!path.empty() && path.back() == '/') path.pop_back();
  path = WithoutDotSlash(std::move(path));
  return path.empty() ? "." : path;
}

// Read in pieces: the size an entry claims is not trusted for the buffer.
EntryBytes ReadEntryBytes(archive* a, uint64_t most) {
  EntryBytes read;
  char piece[64 * 1024];
  while (read.bytes.size() < most) {
    const size_t ask =
        static_cast<size_t>(std::min<uint64_t>(sizeof piece, most - read.bytes.size()));
    const la_ssize_t got = archive_read_data(a, piece, ask);
    if (got < 0) {
      read.result = Result::Failure(ArchiveError(a, "read error"));
      break;
    }
    if (got == 0) break;
    read.bytes.append(piece, static_cast<size_t>(got));
  }
  return read;
}

Result ReadLinkedContents(const std::string& image, MediumView* view, ByteBudget* budget) {
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
  if (targets.empty()) return Result::Ok();
  Expected<ImageArchive> reader = OpenTree(image, MediumView::Tree::kRockRidge);
  if (!reader) return reader.result();
  archive* a = reader->get();
  archive_entry* entry;
  while (!targets.empty() && NextEntry(a, &entry)) {
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
    EntryBytes read = ReadEntryBytes(a, static_cast<uint64_t>(size));
    if (!read.result.ok) return read.result;
    budget->Give(static_cast<uint64_t>(size) - read.bytes.size());
    view->contents[wanted->first] = std::move(read.bytes);
    targets.erase(wanted);
  }
  return Result::Ok();
}

std::string ReadImageContents(const std::string& image, const MediumView& view,
                              const std::unordered_map<std::string, size_t>& wanted,
                              FileBytes* contents, ByteBudget* budget) {
  ByteBudget own;
  if (budget == nullptr) budget = &own;
  const Utf8NamesWhileReading utf8_names;
  Expected<ImageArchive> reader = OpenTree(image, view.tree);
  if (!reader) return reader.reason();
  archive* a = reader->get();
  archive_entry* entry;
  size_t entries = 0;
  size_t left = wanted.size();
  while (left > 0 && ++entries <= kMostImageEntries && NextEntry(a, &entry)) {
    if (archive_entry_filetype(entry) != AE_IFREG) continue;
    // Named as the views name it, so that what they list is what is read.
    std::string path = ViewPath(entry);
    if (view.tree == MediumView::Tree::kPlainInLowerCase) path = AsLinuxMapsPlainNames(path);
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
    EntryBytes read = ReadEntryBytes(a, taken);
    // Bytes read before a failure are dropped with the file, so they give their share back too.
    budget->Give(read.result.ok ? taken - read.bytes.size() : taken);
    if (read.result.ok) {
      contents->bytes[path] = std::move(read.bytes);
    } else {
      contents->unreadable[path] = read.result.reason;
    }
  }
  return "";
}

}  // namespace tolvar
