// FolderFiles: a folder's names read once into a view per system, and the bytes of its files read
// on demand, bounded, from the names the views reached.
#include "menu_check/model/medium_files.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "picture/picture_file.h"

namespace tolvar {

Expected<std::string> ReadFileHead(const std::string& native_path, uint64_t most) {
  PictureFileHandle file;
  const Expected<uint64_t> size = file.Open(native_path);
  if (!size) return Expected<std::string>::Failure(size.reason());
  // The size now is not trusted for the buffer: the file may shrink or grow while it is read.
  std::string bytes(static_cast<size_t>(std::min<uint64_t>(most, size.value())), '\0');
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

FolderFiles::FolderFiles(const std::string& root)
    : root_(root.empty() ? "." : root), view_(MediumView::FromFolder(root_)) {}

std::string FolderFiles::Read(const MediumView&,
                              const std::unordered_map<std::string, size_t>& wanted,
                              FileBytes* into) {
  const std::filesystem::path root = std::filesystem::u8path(root_);
  for (const auto& [path, bytes] : wanted) {
    if (into->bytes.count(path) != 0 || into->unreadable.count(path) != 0) continue;
    if (!budget_.Take(bytes)) {
      into->left_out.insert(path);
      continue;
    }
    Expected<std::string> read = ReadFileHead((root / std::filesystem::u8path(path)).u8string(),
                                              static_cast<uint64_t>(bytes));
    if (!read) {
      budget_.Give(bytes);
      into->unreadable[path] = read.reason();
      continue;
    }
    budget_.Give(bytes - read->size());
    into->bytes[path] = std::move(read).value();
  }
  return "";
}

}  // namespace tolvar
