// Win32 body of UserDecimalSeparator and UserUiLanguages: LOCALE_SDECIMAL of the user's default
// locale, and the user's preferred UI languages.
#include <windows.h>

#include "shared_routines/user_locale.h"
#include "shared_routines/utf16_win32.h"

namespace tolvar {

std::string UserDecimalSeparator() {
  wchar_t separator[8] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 1) return ".";
  return Narrow(separator);
}

std::vector<std::string> UserUiLanguages() {
  std::vector<std::string> languages;
  ULONG count = 0;
  ULONG size = 0;
  if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &size) || size == 0) {
    return languages;
  }
  std::wstring names(size, L'\0');
  if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, &names[0], &size)) return languages;
  // A list of names, each ended by a NUL, and the list by one more.
  for (size_t start = 0; start < names.size() && names[start] != L'\0';) {
    const size_t end = names.find(L'\0', start);
    languages.push_back(Narrow(names.substr(start, end - start)));
    start = end + 1;
  }
  return languages;
}

}  // namespace tolvar
