// The checker's console: its arguments and its output as UTF-8, whatever the platform's console
// takes.
#ifndef TOLVAR_MENU_CHECK_REPORT_CONSOLE_H_
#define TOLVAR_MENU_CHECK_REPORT_CONSOLE_H_

#include <cstdio>
#include <string>
#include <vector>

namespace tolvar {

// The command line's arguments, without the program's name, in UTF-8.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Writes UTF-8 `text` to `stream` (stdout or stderr) so that a console shows every character; into
// a file or a pipe it goes as UTF-8.
void WriteText(std::FILE* stream, const std::string& text);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_REPORT_CONSOLE_H_
