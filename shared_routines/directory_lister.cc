// DirectoryNames, and DiskDirectories over the platform's own disk questions (disk_entries.h).
#include "shared_routines/directory_lister.h"

#include "shared_routines/ascii_text.h"
#include "shared_routines/disk_entries.h"
#include "shared_routines/windows_case.h"

namespace tolvar {

std::vector<std::string> PathComponents(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::vector<std::string> WindowsComponents(const std::string& path) {
  std::vector<std::string> parts;
  for (std::string& part : PathComponents(path)) {
    if (part == "." && !parts.empty()) continue;
    if (part == ".." && !parts.empty() && IsEntryName(parts.back())) {
      parts.pop_back();
      continue;
    }
    parts.push_back(std::move(part));
  }
  return parts;
}

void DirectoryNames::Add(const std::string& name) {
  if (!exact_.insert(name).second) return;
  names_.push_back(name);
  windows_folded_.clear();
  Alike& alike = folded_[AsciiFolded(name)];
  if (alike.count++ == 0) alike.first = name;
}

DirectoryNames::Alike DirectoryNames::IgnoringCase(const std::string& name, Folding folding) const {
  if (folding == Folding::kAscii) {
    const auto found = folded_.find(AsciiFolded(name));
    return found == folded_.end() ? Alike() : found->second;
  }
  if (windows_folded_.empty()) {
    for (const std::string& each : names_) {
      Alike& alike = windows_folded_[FoldedAsWindows(each)];
      if (alike.count++ == 0) alike.first = each;
    }
  }
  const auto found = windows_folded_.find(FoldedAsWindows(name));
  return found == windows_folded_.end() ? Alike() : found->second;
}

bool DiskDirectories::Exists(const std::string& path) const {
  // The system would cut the path at a NUL and answer for another one.
  if (path.find('\0') != std::string::npos) return false;
  if (!EntryExists(path)) return false;
  if (spelling_ == Spelling::kAsTheSystemFinds) return true;
  // Only the folders' own listings tell the spelling apart. A drive ("C:") is no name to look for.
  // The path is read as Windows reads it, so that "X/../" repeated lists no folder twice.
  const std::vector<std::string> parts = WindowsComponents(path);
  std::string directory;
  for (size_t i = 0; i < parts.size(); ++i) {
    const bool drive = i == 0 && parts[i].size() == 2 && parts[i][1] == ':';
    if (IsEntryName(parts[i]) && !drive && !List(directory).Contains(parts[i])) return false;
    directory += parts[i] + '/';
  }
  return true;
}

const DirectoryNames& DiskDirectories::List(const std::string& directory) const {
  const auto found = listings_.find(directory);
  if (found != listings_.end()) return found->second;
  DirectoryNames& listing = listings_[directory];
  if (directory.find('\0') != std::string::npos) return listing;
  for (const std::string& name : EntryNames(directory)) listing.Add(name);
  return listing;
}

}  // namespace tolvar
