// What kind of thing an entry's command names, beyond the keywords: a link for the user's browser
// or mail program, a scheme that is never handed to the system, or a path on the medium.
#ifndef TOLVAR_MENU_FORM_COMMAND_KIND_H_
#define TOLVAR_MENU_FORM_COMMAND_KIND_H_

#include <string_view>

namespace tolvar {

// A command that starts with "https://", "http://" or "mailto:" (the scheme in any letter case):
// opened by the user's default handler for it.
bool IsLink(std::string_view command);

// A command that starts with some other URI scheme ("file:", "ms-msdt:", "search-ms:"): two or more
// letters, digits, '+', '-' or '.' (the first a letter) and a colon. Such a command could start
// programs through a protocol handler, so it is never handed to the system; it is no file either.
// A drive letter ("D:\setup.exe") is one letter, and no scheme.
bool NamesOtherScheme(std::string_view command);

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_COMMAND_KIND_H_
