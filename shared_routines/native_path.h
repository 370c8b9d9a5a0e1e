// Paths as the menu file writes them (Windows style, backslashes) turned into the platform's own.
#ifndef TOLVAR_SHARED_ROUTINES_NATIVE_PATH_H_
#define TOLVAR_SHARED_ROUTINES_NATIVE_PATH_H_

#include <string>
#include <string_view>

namespace tolvar {

// On POSIX every backslash becomes a slash, since media are written for Windows first and a
// backslash in a file name is almost never meant; on Windows the path is returned unchanged.
std::string NativePath(const std::string& path);

// `path` with the separator a person on this system writes: on Windows every slash becomes a
// backslash, as the system's own paths are shown; on POSIX the path is returned unchanged (a
// backslash there may be part of a name).
std::string WithPreferredSeparators(const std::string& path);

// The path as a person should read it in a message: native separators, without a leading ".\" or
// "./".
std::string DisplayPath(const std::string& path);

// Whether `path` names something that is no file of this machine's disks: a share on another
// machine ("\\server\share\x", "//server/share/x", "\\?\UNC\server\x") or a name of the
// system's device and object namespaces ("\\.\pipe\x", "\\?\C:\x", "\??\x"). On Windows a
// mere lookup of a share opens an SMB or WebDAV session and hands the server the user's
// credentials, and no path on a medium has any of these forms, so every path the menu takes from a
// medium passes this test before the system sees it, and is treated as missing when it holds.
// Linux reads "//server/x" as "/server/x", a path from the system's root, which no medium writes
// either: refusing it there too gives both systems, and the checker, one answer.
bool NamesNoLocalFile(std::string_view path);

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_NATIVE_PATH_H_
