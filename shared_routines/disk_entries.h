// The few questions the menu asks of the disk beyond opening a file: does an entry exist, what a
// folder holds, is a path a folder, and where a path leads with its links followed. One body per
// platform: the Windows menu asks the system directly, since the C++ library's file system support
// would bring its streams and locales into the .exe and triple its size.
#ifndef TOLVAR_SHARED_ROUTINES_DISK_ENTRIES_H_
#define TOLVAR_SHARED_ROUTINES_DISK_ENTRIES_H_

#include <optional>
#include <string>
#include <vector>

namespace tolvar {

// Paths here are native ones in UTF-8 that hold no NUL (the callers refuse those).

// Whether `path` names an entry of any kind; a link counts even where it leads nowhere.
bool EntryExists(const std::string& path);

// The names in `directory` ("" for the current one), without "." and "..". None when it is missing
// or cannot be read.
std::vector<std::string> EntryNames(const std::string& directory);

// Whether `path`, its links followed, is a folder.
bool IsFolder(const std::string& path);

// The absolute path of `path` with every link (and on Windows every junction) followed and no "."
// or ".." left, in the spelling the system keeps; nothing when it cannot be resolved.
std::optional<std::string> FinalPath(const std::string& path);

// The separator between the components of a FinalPath.
extern const char kFinalPathSeparator;

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_DISK_ENTRIES_H_
