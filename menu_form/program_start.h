// ProgramStart: how Launch starts the program an entry names. One body per platform; tests fake it.
#ifndef TOLVAR_MENU_FORM_PROGRAM_START_H_
#define TOLVAR_MENU_FORM_PROGRAM_START_H_

#include <string>

#include "menu_form/result.h"

namespace tolvar {

class ProgramStart {
 public:
  virtual ~ProgramStart() = default;

  // Starts the program at `path` (checked to exist just before), minimised and active where the
  // platform can ask for that, inheriting the current directory and environment, and returns
  // without waiting. A file that is not a program is opened the way the desktop opens its type.
  // When neither works, returns the failure with the system's reason; nothing has been started
  // then.
  virtual Result Start(const std::string& path) = 0;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_PROGRAM_START_H_
