// CheckImage: an ISO 9660 image as Linux and Windows will see it once it is burnt or mounted: its
// menu file, the files the menu names, autorun.inf, the Linux autostart files and the names.
#ifndef TOLVAR_MENU_CHECK_IMAGE_CHECK_H_
#define TOLVAR_MENU_CHECK_IMAGE_CHECK_H_

#include <string>

#include "menu_check/menu_check.h"

namespace tolvar {

// An image that cannot be read gives a report whose ExitStatus is 4, with the reason.
CheckReport CheckImage(const std::string& image, const std::string& decimal_separator,
                       const Targets& targets);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_IMAGE_CHECK_H_
