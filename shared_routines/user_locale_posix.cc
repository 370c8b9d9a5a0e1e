// POSIX body of UserDecimalSeparator and UserUiLanguages: LC_NUMERIC of the environment's locale,
// without changing the process's own locale, and the language variables GLib and gettext read.
#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <cstdlib>

#include "shared_routines/user_locale.h"

namespace tolvar {

std::string UserDecimalSeparator() {
  locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) return ".";
  std::string separator = nl_langinfo_l(RADIXCHAR, user);
  freelocale(user);
  return separator.empty() ? "." : separator;
}

std::vector<std::string> UserUiLanguages() {
  std::vector<std::string> languages;
  const char* language = std::getenv("LANGUAGE");
  if (language != nullptr && language[0] != '\0') {
    std::string list = language;
    for (size_t start = 0; start <= list.size();) {
      const size_t colon = std::min(list.find(':', start), list.size());
      if (colon > start) languages.push_back(list.substr(start, colon - start));
      start = colon + 1;
    }
    return languages;
  }
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && value[0] != '\0') {
      languages.emplace_back(value);
      break;
    }
  }
  return languages;
}

}  // namespace tolvar
