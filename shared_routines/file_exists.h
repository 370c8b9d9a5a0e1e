// FileExists: the one test the menu makes before it opens or starts a file.
#ifndef TOLVAR_SHARED_ROUTINES_FILE_EXISTS_H_
#define TOLVAR_SHARED_ROUTINES_FILE_EXISTS_H_

#include <string>

namespace tolvar {

// True when `path` names an ordinary file, as a directory search for normal files sees it: hidden
// and system files, directories and anything that is not a regular file do not count. `*` and `?`
// in the last component match as in a directory search, so a pattern that matches at least one
// ordinary file counts. A relative path is taken from the current directory. Never fails: a path
// that names nothing, or that cannot be searched (empty, malformed, drive not ready), gives false.
bool FileExists(const std::string& path);

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_FILE_EXISTS_H_
