// SystemProgramStart: ProgramStart on the real system. One body per platform.
#ifndef TOLVAR_MENU_WINDOW_SYSTEM_PROGRAM_START_H_
#define TOLVAR_MENU_WINDOW_SYSTEM_PROGRAM_START_H_

#include <string>

#include "menu_form/program_start.h"

namespace tolvar {

class SystemProgramStart : public ProgramStart {
 public:
  Result Start(const std::string& path) override;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_SYSTEM_PROGRAM_START_H_
