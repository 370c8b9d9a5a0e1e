// What kind of thing an entry's command names, beyond the keywords: a link for the user's browser
// or mail program, a scheme that is never handed to the system, or a path on the medium.
#ifndef TOLVAR_MENU_FORM_COMMAND_KIND_H_
#define TOLVAR_MENU_FORM_COMMAND_KIND_H_

#include <string>
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

// `link` (IsLink) less the parameters of a mailto: link that ask the mail program to attach a
// file ("attach=", "attachment=", in any letter case, percent-encoded or not): several mail
// programs attach what such a parameter names, and a medium has no business choosing the user's
// files to send. Other parameters and other links come back as they were.
std::string WithoutAttachments(std::string_view link);

// `link` (IsLink) as it is handed to the system: WithoutAttachments, then every byte that has no
// place in a link written out, percent-encoded: blanks, controls, the double quote, and every byte
// of 0x80 and above. A handler gets the link in its command line, often as "%1" in quotes, and
// one that reads its command line in the ANSI code page turns a fullwidth quote into a real one
// (Windows' best-fit conversion): either way it would end that argument and add arguments of the
// link's choosing. The handler decodes the escapes back; the encoding is the same on every system.
std::string LinkAsOpened(std::string_view link);

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_COMMAND_KIND_H_
