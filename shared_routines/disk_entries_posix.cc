// POSIX body of the disk questions, through std::filesystem: the Linux programs carry the C++
// library as a shared one, so its size costs nothing here.
#include <filesystem>
#include <system_error>

#include "shared_routines/disk_entries.h"

namespace tolvar {

namespace fs = std::filesystem;

const char kFinalPathSeparator = '/';

bool EntryExists(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(fs::u8path(path), error));
}

std::vector<std::string> EntryNames(const std::string& directory) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(fs::u8path(directory.empty() ? "." : directory), error), end;
       !error && it != end; it.increment(error)) {
    names.push_back(it->path().filename().u8string());
  }
  return names;
}

bool IsFolder(const std::string& path) {
  std::error_code error;
  return fs::is_directory(fs::u8path(path), error);
}

std::optional<std::string> FinalPath(const std::string& path) {
  std::error_code error;
  const fs::path final_path = fs::canonical(fs::u8path(path), error);
  if (error) return std::nullopt;
  return final_path.u8string();
}

}  // namespace tolvar
