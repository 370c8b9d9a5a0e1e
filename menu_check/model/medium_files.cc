// FolderFiles: a folder's names read once into a view per system, and the bytes of its files read
// on demand, bounded, from the names the views reached.
#include "menu_check/model/medium_files.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "picture/picture_file.h"

namespace tolvar {

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
