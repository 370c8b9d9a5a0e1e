// Linux body of CheckPicture: the window's own picture loader, at the picture area's size.
#include "menu_check/picture_check.h"
#include "menu_window/gtk/picture_loader.h"

namespace tolvar {

Result CheckPicture(const std::string& path) { return CheckSplashPicture(path); }

}  // namespace tolvar
