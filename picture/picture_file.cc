// Portable part of ReadPictureFile: the budget, kept even when the file grows while it is read.
#include "picture/picture_file.h"

#include <algorithm>

#include "picture/picture_header.h"

namespace tolvar {

std::string PictureTooLarge() {
  return "the file is larger than the " + std::to_string(kMaxPictureFileBytes >> 20) +
         " MiB a picture may have";
}

namespace {

// At most `most` bytes of the open `file`, whose size was `size` when it was opened. That size is
// not trusted for the buffer: the file may shrink or grow while it is read.
Expected<std::string> ReadOpened(PictureFileHandle& file, uint64_t size, uint64_t most) {
  std::string bytes(static_cast<size_t>(std::min<uint64_t>(most, size + 1)), '\0');
  size_t length = 0;
  while (length < most) {
    if (length == bytes.size()) {
      bytes.resize(
          static_cast<size_t>(std::min<uint64_t>(most, std::max<size_t>(length * 2, 4096))));
    }
    const Expected<size_t> got = file.Read(&bytes[length], bytes.size() - length);
    if (!got) return Expected<std::string>::Failure(got.reason());
    if (got.value() == 0) break;
    length += got.value();
  }
  bytes.resize(length);
  return bytes;
}

}  // namespace

Expected<std::string> ReadFileHead(const std::string& native_path, uint64_t most) {
  PictureFileHandle file;
  const Expected<uint64_t> size = file.Open(native_path);
  if (!size) return Expected<std::string>::Failure(size.reason());
  return ReadOpened(file, size.value(), most);
}

Expected<std::string> ReadPictureFile(const std::string& native_path) {
  PictureFileHandle file;
  const Expected<uint64_t> size = file.Open(native_path);
  if (!size) return Expected<std::string>::Failure(size.reason());
  if (size.value() > kMaxPictureFileBytes) return Expected<std::string>::Failure(PictureTooLarge());
  // One byte beyond the budget tells a file that grew past it since it was opened.
  Expected<std::string> bytes = ReadOpened(file, size.value(), kMaxPictureFileBytes + 1);
  if (bytes && bytes->size() > kMaxPictureFileBytes) {
    return Expected<std::string>::Failure(PictureTooLarge());
  }
  return bytes;
}

}  // namespace tolvar
