// "List a directory", the one question the letter-case rules ask of a file system, behind a small
// interface: the same rule then runs over a real folder (the menu, the checker) and over the
// checker's listing of an ISO image, and a test can compare the two.
#ifndef TOLVAR_SHARED_ROUTINES_DIRECTORY_LISTER_H_
#define TOLVAR_SHARED_ROUTINES_DIRECTORY_LISTER_H_

#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tolvar {

// The components of a '/'-separated path, empty ones (a leading or doubled slash) included, so that
// joining them with '/' gives the path back.
std::vector<std::string> PathComponents(const std::string& path);
// The components as Windows reads a path: "." dropped, and a name followed by ".." dropped with
// it, whether or not the name exists. So each folder is listed once at most, however many "X/../"
// a path repeats. A ".." with no name before it (at the start, or after another "..") stays.
std::vector<std::string> WindowsComponents(const std::string& path);
// Whether a component names an entry of its folder: empty ones, "." and ".." do not.
inline bool IsEntryName(const std::string& part) {
  return !part.empty() && part != "." && part != "..";
}

// Which letter case a lookup ignores: ASCII's alone (the Linux menu, which guesses no further), or
// all that Windows ignores in file names (FoldedAsWindows).
enum class Folding { kAscii, kWindows };

// The names in one directory, found as written or without regard to letter case. A medium may hold
// thousands of names in one folder, so no lookup scans them.
class DirectoryNames {
 public:
  // Names added twice count once.
  void Add(const std::string& name);

  bool Contains(const std::string& name) const { return exact_.count(name) > 0; }
  // How many names equal `name` but for letter case as `folding` ignores it, and the first of them
  // added.
  struct Alike {
    int count = 0;
    std::string first;
  };
  Alike IgnoringCase(const std::string& name, Folding folding = Folding::kAscii) const;
  // In the order they were added.
  const std::vector<std::string>& names() const { return names_; }

 private:
  std::vector<std::string> names_;
  std::unordered_set<std::string> exact_;
  std::unordered_map<std::string, Alike> folded_;
  // Made when first asked for: the menu itself never asks.
  mutable std::unordered_map<std::string, Alike> windows_folded_;
};

class DirectoryLister {
 public:
  virtual ~DirectoryLister() = default;
  // Whether `path` names an entry of any kind with exactly this spelling.
  virtual bool Exists(const std::string& path) const = 0;
  // The names in `directory`, a path that ends in '/' or is "" for the current directory (or the
  // root of an image). None when it is missing or cannot be read.
  virtual const DirectoryNames& List(const std::string& directory) const = 0;
};

// The real file system, each directory read once, when first asked for, and kept while the object
// lives. Paths are native ones in UTF-8; a symbolic link counts as an entry even where it leads
// nowhere.
class DiskDirectories : public DirectoryLister {
 public:
  // Windows, and FAT or ISO media mounted on Linux, find a name in any letter case. Where the
  // spelling matters (the checker's warnings), Exists also finds each component in its folder's
  // listing; where only finding the file matters (the menu), the system's answer is enough.
  enum class Spelling { kAsTheSystemFinds, kExact };
  explicit DiskDirectories(Spelling spelling = Spelling::kAsTheSystemFinds) : spelling_(spelling) {}

  bool Exists(const std::string& path) const override;
  const DirectoryNames& List(const std::string& directory) const override;

 private:
  Spelling spelling_;
  mutable std::map<std::string, DirectoryNames> listings_;
};

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_DIRECTORY_LISTER_H_
