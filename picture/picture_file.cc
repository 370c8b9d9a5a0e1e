// Portable part of ReadPictureFile: the budget, kept even when the file grows while it is read.
#include "picture/picture_file.h"

#include <algorithm>

#include "picture/picture_header.h"

namespace tolvar {

std::string PictureTooLarge() {
  return "the file is larger than the " + std::to_string(kMaxPictureFileBytes >> 20) +
         " MiB a picture may have";
}

std::string ReadPictureFile(const std::string& native_path, std::string* bytes) {
  bytes->clear();
  const std::string too_large = PictureTooLarge();
  PictureFileHandle file;
  uint64_t size = 0;
  std::string reason = file.Open(native_path, &size);
  if (reason.empty() && size > kMaxPictureFileBytes) reason = too_large;
  if (reason.empty()) {
    // One byte more than the size now, so that the end is seen without growing the buffer.
    bytes->resize(static_cast<size_t>(size) + 1);
    size_t length = 0;
    while (reason.empty()) {
      if (length == bytes->size()) {
        // Grown since it was opened: allow up to the budget; one byte beyond tells it is too large.
        if (length > kMaxPictureFileBytes) {
          reason = too_large;
          break;
        }
        bytes->resize(std::min(kMaxPictureFileBytes + 1, length * 2));
      }
      size_t got = 0;
      reason = file.Read(&(*bytes)[length], bytes->size() - length, &got);
      if (reason.empty() && got == 0) break;
      length += got;
    }
    bytes->resize(length);
  }
  if (!reason.empty()) bytes->clear();
  return reason;
}

}  // namespace tolvar
