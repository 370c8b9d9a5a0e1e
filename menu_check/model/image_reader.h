// ReadImageViews: an ISO 9660 image's files as Linux and as Windows will show them, read with
// libarchive, without mounting the image; ReadImageContents: the bytes of some of them. Only in
// builds that have libarchive (TOLVAR_IMAGE_CHECK): the views are built in image_views_posix.cc,
// the bytes read in image_contents_posix.cc.
#ifndef TOLVAR_MENU_CHECK_MODEL_IMAGE_READER_H_
#define TOLVAR_MENU_CHECK_MODEL_IMAGE_READER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "menu_check/model/medium_files.h"
#include "menu_check/model/medium_view.h"
#include "shared_routines/text_input.h"

namespace tolvar {

// An image read, or why it could not be.
struct ImageViews {
  std::string problem;      // empty when the image was read; else why not, and the views are empty
  bool rock_ridge = false;  // the extension Linux reads: long names, permissions
  bool joliet = false;      // the extension Windows reads: long names in UTF-16
  MediumView linux_view;    // Rock Ridge names, else Joliet, else plain names as Linux maps them
  MediumView windows_view;  // Joliet names, else plain ISO 9660 names
};

// The most entries an image may hold before it counts as broken: far above what a disc holds.
inline constexpr size_t kMostImageEntries = 1000000;

// Reads `image`, keeping what the checks read of its files within `budget` (a budget of its own
// when null). The result's `problem` says why when it is not an ISO 9660 image, is cut short, or
// its directories are broken (loops, absurd sizes, too many entries).
ImageViews ReadImageViews(const std::string& image, ByteBudget* budget = nullptr);

// Reads from `image`, in one pass over the tree `view` was read from, the first bytes of the files
// of `view` in `wanted` (path in the view, how many bytes) into `contents`, within `budget` (a
// budget of its own when null). Empty when it could open the image; else why not.
std::string ReadImageContents(const std::string& image, const MediumView& view,
                              const std::unordered_map<std::string, size_t>& wanted,
                              FileBytes* contents, ByteBudget* budget = nullptr);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_MODEL_IMAGE_READER_H_
