// The user's number format and languages, as far as the menu needs them.
#ifndef TOLVAR_SHARED_ROUTINES_USER_LOCALE_H_
#define TOLVAR_SHARED_ROUTINES_USER_LOCALE_H_

#include <string>
#include <vector>

namespace tolvar {

// The decimal separator of the user's locale, in UTF-8 ("." or "," mostly); "." when it is unknown.
std::string UserDecimalSeparator();

// The user's preferred languages for a program's texts, most preferred first, as the system names
// them ("de-DE" on Windows, "de_DE.UTF-8" on Linux); empty when none is set. Windows: the user's
// preferred UI languages. Linux: as GLib's g_get_language_names finds them: LANGUAGE (a list
// separated by colons), else the first of LC_ALL, LC_MESSAGES and LANG that is set.
std::vector<std::string> UserUiLanguages();

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_USER_LOCALE_H_
