// Portable part of ReadPictureFile: the budget, kept even when the file grows while it is read.
#include "picture/picture_file.h"

#include <algorithm>

#include "picture/picture_header.h"

namespace tolvar {

std::string PictureTooLarge() {
  return "the file is larger than the " + std::to_string(kMaxPictureFileBytes >> 20) +
         " MiB a picture may have";
}

Expected<std::string> ReadPictureFile(const std::string& native_path) {
  PictureFileHandle file;
  const Expected<uint64_t> size = file.Open(native_path);
  if (!size) return Expected<std::string>::Failure(size.reason());
  if (size.value() > kMaxPictureFileBytes) return Expected<std::string>::Failure(PictureTooLarge());
  // One byte more than the size now, so that the end is seen without growing the buffer.
  std::string bytes(static_cast<size_t>(size.value()) + 1, '\0');
  size_t length = 0;
  for (;;) {
    if (length == bytes.size()) {
      // Grown since it was opened: allow up to the budget; one byte beyond tells it is too large.
      if (length > kMaxPictureFileBytes) return Expected<std::string>::Failure(PictureTooLarge());
      bytes.resize(std::min(kMaxPictureFileBytes + 1, length * 2));
    }
    const Expected<size_t> got = file.Read(&bytes[length], bytes.size() - length);
    if (!got) return Expected<std::string>::Failure(got.reason());
    if (got.value() == 0) break;
    length += got.value();
  }
  bytes.resize(length);
  return bytes;
}

}  // namespace tolvar
