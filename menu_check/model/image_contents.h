// The libarchive reading that both halves of the image reader share: image_views_posix.cc lists the
// image's trees into views, image_contents_posix.cc reads their files' bytes. Here: one tree opened
// with its names as UTF-8, an entry's path as the views write it, and a file's bytes read without
// trusting the size it claims. Linux only, as libarchive is.
#ifndef TOLVAR_MENU_CHECK_MODEL_IMAGE_CONTENTS_H_
#define TOLVAR_MENU_CHECK_MODEL_IMAGE_CONTENTS_H_

#include <archive.h>
#include <archive_entry.h>
#include <locale.h>

#include <cstdint>
#include <memory>
#include <string>

#include "menu_check/model/medium_files.h"
#include "menu_check/model/medium_view.h"
#include "menu_form/result.h"
#include "shared_routines/ascii_text.h"

namespace tolvar {

// libarchive turns Joliet's UTF-16 names into the text of the thread's locale, and the checker
// runs in the C locale, where every name beyond ASCII fails to convert and arrives as no name at
// all. A UTF-8 locale for this thread alone, while the image is read, makes them arrive as UTF-8
// whatever the user's locale; the checker's own output keeps the locale it has. Rock Ridge and
// plain names are copied as bytes in any locale.
class Utf8NamesWhileReading {
 public:
  Utf8NamesWhileReading();
  ~Utf8NamesWhileReading();
  Utf8NamesWhileReading(const Utf8NamesWhileReading&) = delete;
  Utf8NamesWhileReading& operator=(const Utf8NamesWhileReading&) = delete;

 private:
  locale_t utf8_ = static_cast<locale_t>(0);
  locale_t previous_ = static_cast<locale_t>(0);
};

using ImageArchive = std::unique_ptr<archive, int (*)(archive*)>;

// libarchive's reader of the one tree of `image` that `tree` names (Rock Ridge, Joliet, else the
// plain names), or libarchive's reason it cannot be opened.
Expected<ImageArchive> OpenTree(const std::string& image, MediumView::Tree tree);

// The next entry of the tree open in `a` into `entry`; false at its end (`at_end` set, when given)
// or where libarchive cannot read on (its reason: ArchiveError). A warning, such as a name it could
// not convert, reads on.
bool NextEntry(archive* a, archive_entry** entry, bool* at_end = nullptr);

// libarchive's reason for the last failure on `a`, or `otherwise` when it gives none.
std::string ArchiveError(archive* a, const char* otherwise);

// `path` without a leading "./", as libarchive starts each path.
std::string WithoutDotSlash(std::string path);

// The entry's path as the view writes it: no "./", no trailing '/', "." for the root; "" when
// libarchive could not turn the name into text.
std::string ViewPath(archive_entry* entry);

// Linux shows plain ISO 9660 names in lower case (the default map=normal of its iso9660 driver).
inline std::string AsLinuxMapsPlainNames(std::string name) { return AsciiFolded(std::move(name)); }

// The current entry's bytes, at most `most` of them (fewer where the entry ends first). On a
// failure, `bytes` holds what was read before it.
struct EntryBytes {
  std::string bytes;
  Result result;
};
EntryBytes ReadEntryBytes(archive* a, uint64_t most);

// The files the checks read (the menu file, the autostart files) may be links, which Linux
// follows: the file each such link of the indexed Rock Ridge `view` leads to is read in one more
// pass over `image`, made only when there is such a link, and kept once under its own path (see
// ContentOf), however many links lead to it, within `budget`.
Result ReadLinkedContents(const std::string& image, MediumView* view, ByteBudget* budget);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_MODEL_IMAGE_CONTENTS_H_
