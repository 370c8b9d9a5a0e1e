// The user's number format, as far as the menu needs it.
#ifndef TOLVAR_SHARED_ROUTINES_USER_LOCALE_H_
#define TOLVAR_SHARED_ROUTINES_USER_LOCALE_H_

#include <string>

namespace tolvar {

// The decimal separator of the user's locale, in UTF-8 ("." or "," mostly); "." when it is unknown.
std::string UserDecimalSeparator();

}  // namespace tolvar

#endif  // TOLVAR_SHARED_ROUTINES_USER_LOCALE_H_
