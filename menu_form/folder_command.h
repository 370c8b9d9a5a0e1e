// A command that asks for a folder of the medium to be shown in the file manager: one that ends
// in '\' or '/'. Without the ending separator a folder is no command the menu can start.
#ifndef TOLVAR_MENU_FORM_FOLDER_COMMAND_H_
#define TOLVAR_MENU_FORM_FOLDER_COMMAND_H_

#include <string>
#include <string_view>

namespace tolvar {

// Whether `command` asks to browse a folder: it ends in '\' or '/'.
bool AsksForFolder(std::string_view command);

// Whether `command` (AsksForFolder) names a folder of the medium: the medium's root (the current
// folder) or a folder inside it, with every link on the way followed, in the letter case rules
// of the medium (MatchCase). A share on another machine or a device path never is one.
bool NamesMediumFolder(const std::string& command);

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_FOLDER_COMMAND_H_
