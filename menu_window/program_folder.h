// The folder of the menu's own program, and the working folder the menu and the programs it starts
// find their files from: the medium's root is the program's folder when the menu is started from
// a terminal or a shortcut whose working folder is elsewhere. One body per platform; which folder
// to take is the core's (RunMenuProgram), never a body's.
#ifndef TOLVAR_MENU_WINDOW_PROGRAM_FOLDER_H_
#define TOLVAR_MENU_WINDOW_PROGRAM_FOLDER_H_

#include <string>

#include "menu_form/result.h"

namespace tolvar {

// The folder that holds the running program's file, as the system names it (UTF-8, the
// platform's separators, links resolved on Linux), or the system's reason when it cannot say.
Expected<std::string> ProgramFolder();

// Makes `folder` the process's working folder, or gives the system's reason why it cannot.
Result EnterFolder(const std::string& folder);

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_PROGRAM_FOLDER_H_
