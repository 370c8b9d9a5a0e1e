// POSIX body of UserDecimalSeparator: LC_NUMERIC of the environment's locale, without changing the
// process's own locale.
#include <langinfo.h>
#include <locale.h>

#include "shared_routines/user_locale.h"

namespace tolvar {

std::string UserDecimalSeparator() {
  locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) return ".";
  std::string separator = nl_langinfo_l(RADIXCHAR, user);
  freelocale(user);
  return separator.empty() ? "." : separator;
}

}  // namespace tolvar
