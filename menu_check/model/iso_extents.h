// DirectoryBeyondTheImage: a look at an ISO 9660 image's directory tree before libarchive reads it.
// libarchive takes a directory's stated size at its word and asks for a buffer that large, so a
// 72 KB image whose root says it is 4 GB long costs 4 GB before it is refused.
#ifndef TOLVAR_MENU_CHECK_MODEL_ISO_EXTENTS_H_
#define TOLVAR_MENU_CHECK_MODEL_ISO_EXTENTS_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace tolvar {

// Reads `bytes` of the image from `offset` into `out`; false when the image ends first.
using ImageReader = bool (*)(void* context, uint64_t offset, size_t bytes, std::string* out);

// Walks the directories of every volume descriptor (the plain tree and Joliet's) of an image of
// `image_size` bytes. Returns why the image cannot be read when a directory's stated extent goes
// past the image's end or is larger than any medium's directory (64 MiB); "" otherwise, also for an
// image whose descriptors it cannot make out (libarchive says what is wrong with those). Reads each
// directory once, at most `most_directories`. Also says why when one tree (the plain names with
// their Rock Ridge fields, or Joliet's) holds more than `most_entries` entries.
std::string DirectoryBeyondTheImage(uint64_t image_size, ImageReader read, void* context,
                                    size_t most_directories, size_t most_entries);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_MODEL_ISO_EXTENTS_H_
