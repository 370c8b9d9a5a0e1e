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
  // then. A name holding a NUL is refused whoever asks: every system ends a name at its first NUL
  // and would start some other file.
  Result Start(const std::string& path) {
    if (path.find('\0') != std::string::npos) {
      return Result::Failure("the file name holds a NUL character");
    }
    return StartFile(path);
  }

 protected:
  // Start, for a name without a NUL: the platform's part.
  virtual Result StartFile(const std::string& path) = 0;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_PROGRAM_START_H_
