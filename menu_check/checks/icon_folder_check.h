// The menu file's third-edition pictures and folders as the checker sees them: an icon the menu
// cannot show ('#icon:, '#window-icon:), and a command that asks for a folder to browse.
#ifndef TOLVAR_MENU_CHECK_CHECKS_ICON_FOLDER_CHECK_H_
#define TOLVAR_MENU_CHECK_CHECKS_ICON_FOLDER_CHECK_H_

#include <string>

#include "menu_check/model/view_probe.h"

namespace tolvar {

// Why the menu shows no icon for `path`, the value of an icon directive: not found, not an ICO,
// PNG or BMP picture, over the picture budget, unreadable; with the same loader the window uses.
// Empty when it shows.
std::string IconWarning(ViewProbe& probe, const std::string& path);

// For a command that ends in '\' or '/' (AsksForFolder): what Launch does when it names no folder
// of the medium; empty when the file manager shows the folder. Empty for any other command.
std::string FolderCommandWarning(ViewProbe& probe, const std::string& command);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_CHECKS_ICON_FOLDER_CHECK_H_
