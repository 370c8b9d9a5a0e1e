// Win32 body of UserDecimalSeparator: LOCALE_SDECIMAL of the user's default locale.
#include <windows.h>

#include "shared_routines/user_locale.h"
#include "shared_routines/utf16_win32.h"

namespace tolvar {

std::string UserDecimalSeparator() {
  wchar_t separator[8] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 1) return ".";
  return Narrow(separator);
}

}  // namespace tolvar
