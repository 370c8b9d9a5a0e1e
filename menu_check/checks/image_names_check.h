// CheckImageNames: what only an image's own trees hold, each named for the system it breaks: files
// compressed with zisofs, symbolic links that lead nowhere, names holding '/', and two entries of
// one name in a folder.
#ifndef TOLVAR_MENU_CHECK_CHECKS_IMAGE_NAMES_CHECK_H_
#define TOLVAR_MENU_CHECK_CHECKS_IMAGE_NAMES_CHECK_H_

#include <vector>

#include "menu_check/menu_check.h"
#include "menu_check/model/image_reader.h"

namespace tolvar {

// Appends a warning per file, naming it, for the systems in `targets`.
void CheckImageNames(const ImageViews& views, const Targets& targets,
                     std::vector<Finding>* findings);

}  // namespace tolvar

#endif  // TOLVAR_MENU_CHECK_CHECKS_IMAGE_NAMES_CHECK_H_
