// Paths as the menu file writes them (Windows style, backslashes) turned into the platform's own.
#ifndef TOLVAR_SHARED_ROUTINES_NATIVE_PATH_H_
#define TOLVAR_SHARED_ROUTINES_NATIVE_PATH_H_

#include <string>

namespace tolvar {

// On POSIX every backslash becomes a slash, since media are written for Windows first and a
// backslash in a file name is almost never meant; on Windows the path is returned unchanged.
std::string NativePath(const std::string& path);

// The path as a person should read it in a message: native separators, without a leading ".\" or
// "./".
std::string DisplayPath(const std::string& path);

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_NATIVE_PATH_H_
