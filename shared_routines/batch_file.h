// Which batch files the menu refuses to start on Windows: Windows runs a .bat or .cmd through
// cmd.exe, which expands and splits its command line, so a path holding one of cmd.exe's special
// characters runs another file than the one checked ("%OS%.bat" runs "Windows_NT.bat").
#ifndef TOLVAR_SHARED_ROUTINES_BATCH_FILE_H_
#define TOLVAR_SHARED_ROUTINES_BATCH_FILE_H_

#include <string>

namespace tolvar {

// Empty when `path` may be started; otherwise why not, in words, for a batch file (.bat or .cmd,
// in any letter case) whose path holds % ^ & | < > or a double quote.
std::string BatchFileRefusal(const std::string& path);

// The same for a batch file started with `arguments`, which cmd.exe reads too: also refused when
// they hold % ^ & | < > ! (expanded or split on, inside quotes or not, in some of cmd.exe's modes)
// or an odd number of double quotes (which leaves cmd.exe quoting the rest of its line).
std::string BatchFileRefusal(const std::string& path, const std::string& arguments);

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_BATCH_FILE_H_
